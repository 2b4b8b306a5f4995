#pragma once
// Reading back what the scan file holds, through the HDF5 library, for the tests.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace qor::test {

struct Hdf5Array {
    bool ok = false;
    std::vector<uint64_t> dims;
    std::vector<int32_t> ints;     // filled for integer datasets
    std::vector<double> reals;     // filled for floating-point datasets
};

// The dataset at `path` inside `file`; ok false when either is missing.
Hdf5Array readHdf5(const QString& file, const char* path);
// A string attribute of the object at `path`, or "<missing>".
QString readHdf5Attr(const QString& file, const char* path, const char* attr);
// The strings of a string-array attribute (or the one string of a scalar one).
QStringList readHdf5AttrList(const QString& file, const char* path, const char* attr);
// A scalar string dataset.
QString readHdf5String(const QString& file, const char* path);

}  // namespace qor::test
