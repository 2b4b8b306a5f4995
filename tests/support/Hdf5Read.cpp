#include "support/Hdf5Read.h"

#include <QFile>
#include <hdf5.h>

namespace qor::test {

namespace {

hid_t openFile(const QString& file) {
    H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    return H5Fopen(QFile::encodeName(file).constData(), H5F_ACC_RDONLY, H5P_DEFAULT);
}

QStringList readStrings(hid_t attrOrSet, bool isAttr) {
    QStringList out;
    const hid_t type = isAttr ? H5Aget_type(attrOrSet) : H5Dget_type(attrOrSet);
    const hid_t space = isAttr ? H5Aget_space(attrOrSet) : H5Dget_space(attrOrSet);
    const hssize_t n = H5Sget_simple_extent_npoints(space);
    if (H5Tget_class(type) == H5T_STRING && H5Tis_variable_str(type) > 0 && n > 0) {
        std::vector<char*> p(static_cast<size_t>(n), nullptr);
        const hid_t mem = H5Tcopy(H5T_C_S1);
        H5Tset_size(mem, H5T_VARIABLE);
        H5Tset_cset(mem, H5T_CSET_UTF8);
        const herr_t e = isAttr ? H5Aread(attrOrSet, mem, p.data())
                                : H5Dread(attrOrSet, mem, H5S_ALL, H5S_ALL, H5P_DEFAULT, p.data());
        if (e >= 0)
            for (char* s : p) out << QString::fromUtf8(s ? s : "");
        H5Dvlen_reclaim(mem, space, H5P_DEFAULT, p.data());
        H5Tclose(mem);
    }
    H5Sclose(space);
    H5Tclose(type);
    return out;
}

}  // namespace

Hdf5Array readHdf5(const QString& file, const char* path) {
    Hdf5Array a;
    const hid_t f = openFile(file);
    if (f < 0) return a;
    const hid_t d = H5Dopen2(f, path, H5P_DEFAULT);
    if (d >= 0) {
        const hid_t space = H5Dget_space(d);
        const int rank = H5Sget_simple_extent_ndims(space);
        std::vector<hsize_t> dims(static_cast<size_t>(std::max(rank, 0)));
        H5Sget_simple_extent_dims(space, dims.data(), nullptr);
        size_t n = 1;
        for (hsize_t v : dims) {
            a.dims.push_back(v);
            n *= v;
        }
        const hid_t type = H5Dget_type(d);
        if (H5Tget_class(type) == H5T_INTEGER) {
            a.ints.resize(n);
            a.ok = H5Dread(d, H5T_NATIVE_INT32, H5S_ALL, H5S_ALL, H5P_DEFAULT, a.ints.data()) >= 0;
        } else if (H5Tget_class(type) == H5T_FLOAT) {
            a.reals.resize(n);
            a.ok = H5Dread(d, H5T_NATIVE_DOUBLE, H5S_ALL, H5S_ALL, H5P_DEFAULT, a.reals.data()) >= 0;
        }
        H5Tclose(type);
        H5Sclose(space);
        H5Dclose(d);
    }
    H5Fclose(f);
    return a;
}

QStringList readHdf5AttrList(const QString& file, const char* path, const char* attr) {
    QStringList out;
    const hid_t f = openFile(file);
    if (f < 0) return out;
    const hid_t a = H5Aopen_by_name(f, path, attr, H5P_DEFAULT, H5P_DEFAULT);
    if (a >= 0) {
        out = readStrings(a, true);
        H5Aclose(a);
    }
    H5Fclose(f);
    return out;
}

QString readHdf5Attr(const QString& file, const char* path, const char* attr) {
    const QStringList l = readHdf5AttrList(file, path, attr);
    return l.size() == 1 ? l.first() : QStringLiteral("<missing>");
}

QString readHdf5String(const QString& file, const char* path) {
    QString out = QStringLiteral("<missing>");
    const hid_t f = openFile(file);
    if (f < 0) return out;
    const hid_t d = H5Dopen2(f, path, H5P_DEFAULT);
    if (d >= 0) {
        const QStringList l = readStrings(d, false);
        if (l.size() == 1) out = l.first();
        H5Dclose(d);
    }
    H5Fclose(f);
    return out;
}

}  // namespace qor::test
