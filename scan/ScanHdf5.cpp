#include "scan/ScanHdf5.h"

#include "app/CommandLine.h"
#include "app/TextCodec.h"
#include "scan/ZPlanes.h"

#include <hdf5.h>

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>

namespace qor {

namespace {

constexpr const char* kRowOrder =
    "row 0 is the first line scanned (the Y origin); rows follow in +Y order, columns in +X order";

// Closes an HDF5 handle when it leaves scope.
class H5Id {
public:
    H5Id(hid_t id, herr_t (*close)(hid_t)) : id_(id), close_(close) {}
    ~H5Id() {
        if (id_ >= 0) close_(id_);
    }
    H5Id(const H5Id&) = delete;
    H5Id& operator=(const H5Id&) = delete;
    operator hid_t() const { return id_; }
    bool ok() const { return id_ >= 0; }

private:
    hid_t id_;
    herr_t (*close_)(hid_t);
};

// Keeps the library from printing its error stack while a failure is expected and handled.
class QuietErrors {
public:
    QuietErrors() {
        H5Eget_auto2(H5E_DEFAULT, &func_, &data_);
        H5Eset_auto2(H5E_DEFAULT, nullptr, nullptr);
    }
    ~QuietErrors() { H5Eset_auto2(H5E_DEFAULT, func_, data_); }

private:
    H5E_auto2_t func_ = nullptr;
    void* data_ = nullptr;
};

hid_t utf8Type() {
    const hid_t t = H5Tcopy(H5T_C_S1);
    H5Tset_size(t, H5T_VARIABLE);
    H5Tset_cset(t, H5T_CSET_UTF8);
    return t;
}

// Collects the success of every call of one write.
struct Writer {
    bool ok = true;

    bool check(herr_t e) {
        if (e < 0) ok = false;
        return e >= 0;
    }

    void stringAttr(hid_t obj, const char* name, const QString& value) {
        const QByteArray u = value.toUtf8();
        const char* p = u.constData();
        H5Id type(utf8Type(), H5Tclose);
        H5Id space(H5Screate(H5S_SCALAR), H5Sclose);
        H5Id a(H5Acreate2(obj, name, type, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
        if (!a.ok()) ok = false;
        else check(H5Awrite(a, type, &p));
    }

    void stringsAttr(hid_t obj, const char* name, const QStringList& values) {
        std::vector<QByteArray> u;
        std::vector<const char*> p;
        for (const QString& v : values) u.push_back(v.toUtf8());
        for (const QByteArray& b : u) p.push_back(b.constData());
        H5Id type(utf8Type(), H5Tclose);
        const hsize_t n = p.size();
        H5Id space(H5Screate_simple(1, &n, nullptr), H5Sclose);
        H5Id a(H5Acreate2(obj, name, type, space, H5P_DEFAULT, H5P_DEFAULT), H5Aclose);
        if (!a.ok()) ok = false;
        else check(H5Awrite(a, type, p.data()));
    }

    void string(hid_t loc, const char* name, const QString& value) {
        const QByteArray u = value.toUtf8();
        const char* p = u.constData();
        H5Id type(utf8Type(), H5Tclose);
        H5Id space(H5Screate(H5S_SCALAR), H5Sclose);
        H5Id d(H5Dcreate2(loc, name, type, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT),
               H5Dclose);
        if (!d.ok()) ok = false;
        else check(H5Dwrite(d, type, H5S_ALL, H5S_ALL, H5P_DEFAULT, &p));
    }

    // A dataset of `n` values (a scalar when `n` is 0), with a "units" attribute when given.
    hid_t numbers(hid_t loc, const char* name, hid_t fileType, hid_t memType, const void* v,
                  hsize_t n, const char* units = nullptr) {
        H5Id space(n == 0 ? H5Screate(H5S_SCALAR) : H5Screate_simple(1, &n, nullptr), H5Sclose);
        const hid_t d =
            H5Dcreate2(loc, name, fileType, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
        if (d < 0) {
            ok = false;
            return d;
        }
        check(H5Dwrite(d, memType, H5S_ALL, H5S_ALL, H5P_DEFAULT, v));
        if (units) stringAttr(d, "units", QString::fromLatin1(units));
        return d;
    }
    void integer(hid_t loc, const char* name, int32_t v, const char* units = nullptr) {
        const hid_t d = numbers(loc, name, H5T_STD_I32LE, H5T_NATIVE_INT32, &v, 0, units);
        if (d >= 0) H5Dclose(d);
    }
    void real(hid_t loc, const char* name, double v, const char* units = nullptr) {
        const hid_t d = numbers(loc, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, &v, 0, units);
        if (d >= 0) H5Dclose(d);
    }
    void reals(hid_t loc, const char* name, const std::vector<double>& v,
               const char* units = nullptr) {
        const hid_t d = numbers(loc, name, H5T_IEEE_F64LE, H5T_NATIVE_DOUBLE, v.data(),
                                v.size(), units);
        if (d >= 0) H5Dclose(d);
    }

    hid_t group(hid_t loc, const char* name, const char* nxClass) {
        const hid_t g = H5Gcreate2(loc, name, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT);
        if (g < 0) {
            ok = false;
            return g;
        }
        stringAttr(g, "NX_class", QString::fromLatin1(nxClass));
        return g;
    }
};

QString isoTime(const QDateTime& t) {
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
}

double perUnit(const InfoRecord& r, int axis) { return r.MotorLogicalPulses[axis]; }

QString methodText(int32_t method) {
    return method == 0 ? QStringLiteral("X軸+方向のみ") : QStringLiteral("X軸で往復");
}

}  // namespace

const char* scanFileStateText(ScanFileState s) {
    switch (s) {
        case ScanFileState::Running: return "running";
        case ScanFileState::Complete: return "complete";
        case ScanFileState::Stopped: return "stopped";
        case ScanFileState::Aborted: return "aborted";
        case ScanFileState::Recovered: return "recovered";
    }
    return "running";
}

QString scanFileGroupName(const InfoRecord& r, int slot) {
    auto base = [&r](int s) {
        QString n = fromSjis(r.MapRoiElementName[s]).trimmed();
        n.replace(QLatin1Char('/'), QLatin1Char('_'));
        if (n == QLatin1String(".") || n == QLatin1String("..")) n.fill(QLatin1Char('_'));
        return n.isEmpty() ? QStringLiteral("ROI-%1").arg(s + 1) : n;
    };
    const QString name = base(slot);
    for (int s = 0; s < slot && s < 20; ++s)
        if (r.MapRoiEnabled[s] == 1 && base(s) == name)
            return name + QStringLiteral("_ROI-%1").arg(slot + 1);
    return name;
}

double mapColumnMm(const InfoRecord& r, int column) {
    const double ppu = perUnit(r, 0);
    return ppu > 0 ? (column + 0.5) * r.ScanXPixelPulses / ppu : 0.0;
}

double mapRowMm(const InfoRecord& r, int row) {
    const double ppu = perUnit(r, 1);
    return ppu > 0 ? static_cast<double>(row) * r.ScanYPixelPulses / ppu : 0.0;
}

double mapPlaneMm(const InfoRecord& r, int plane) {
    const double ppu = perUnit(r, 2);
    if (ppu <= 0) return 0.0;
    // Plane 0 is reached at ZStart; the later planes at the pulses the scan sends.
    return plane == 0 ? r.ZStart : zPlanePulses(r, plane) / ppu;
}

void ScanHdf5File::beginScan(const InfoRecord& r, const QDateTime& start) {
    rec_ = r;
    start_ = start;
    path_.clear();
    folder_ = QString();
    mark_.clear();
    notRecorded_.clear();
    planes_ = r.ScanUseZ == 1 ? std::clamp<int32_t>(r.ZCount, 0, 100000) + 1 : 1;
    passes_ = std::clamp<int32_t>(r.ScanRepeat, 1, 100000);
    lines_.assign(static_cast<std::size_t>(planes_) * passes_, 0);
    planeWritten_.assign(static_cast<std::size_t>(planes_), 0);
}

void ScanHdf5File::nameFileIn(const QString& folder, const QString& mark) {
    folder_ = folder.isNull() ? QStringLiteral("") : folder;
    mark_ = mark;
    path_.clear();
}

int32_t ScanHdf5File::linesMeasured(int plane, int pass) const {
    if (plane < 0 || plane >= planes_ || pass < 0 || pass >= passes_) return 0;
    return lines_[static_cast<std::size_t>(plane) * passes_ + pass];
}

WriteOutcome ScanHdf5File::writePass(const MapStore& maps, const LineTime& t, int plane,
                                     int pass, int lines, ScanFileState state,
                                     const QDateTime& end) {
    WriteOutcome failed;
    if (!begun() || plane < 0 || plane >= planes_ || pass < 0 || pass >= passes_) {
        failed.reason = QStringLiteral("no such plane or pass in the scan");
        failed.error = path_ + QStringLiteral(": ") + failed.reason;
        return failed;
    }
    const InfoRecord& r = rec_;
    lines_[static_cast<std::size_t>(plane) * passes_ + pass] = lines;
    planeWritten_[plane] = 1;
    if (path_.isEmpty())
        path_ = (folder_.isNull() ? fromSjis(r.SaveFolder) : folder_) +
                fromSjis(r.ScanFileName) + QString::fromLatin1(mapTimeText(t).c_str()) + mark_ +
                QStringLiteral(".h5");

    const int cols = std::clamp<int32_t>(r.MapPixelsX, 1, kMapSide);
    const int rows = std::clamp<int32_t>(r.MapPixelsY, 1, kMapSide);

    // The file is built in memory (no backing store) and written whole afterwards.
    H5Id fapl(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    H5Pset_fapl_core(fapl, 16 << 20, 0);
    H5Id file(H5Fcreate("qor10-scan-image.h5", H5F_ACC_TRUNC, H5P_DEFAULT, fapl), H5Fclose);
    if (!file.ok()) {
        failed.reason = QStringLiteral("HDF5 file could not be created");
        failed.error = path_ + QStringLiteral(": ") + failed.reason;
        return failed;
    }
    // The version written before holds the other planes.
    bool otherPlanes = false;
    for (int p = 0; p < planes_; ++p) otherPlanes |= p != plane && planeWritten_[p];
    hid_t oldId = -1;
    if (otherPlanes && QFile::exists(path_)) {
        QuietErrors quiet;
        oldId = H5Fopen(QFile::encodeName(path_).constData(), H5F_ACC_RDONLY, H5P_DEFAULT);
    }
    H5Id old(oldId, H5Fclose);

    Writer w;
    QStringList groups;
    for (int s = 0; s < 20; ++s)
        if (r.MapRoiEnabled[s] == 1) groups << scanFileGroupName(r, s);

    w.stringAttr(file, "default", QStringLiteral("entry"));
    w.stringAttr(file, "creator", QStringLiteral("qor10"));
    w.stringAttr(file, "file_name", QFileInfo(path_).fileName());
    w.stringAttr(file, "file_time", isoTime(end));
    H5Id entry(w.group(file, "entry", "NXentry"), H5Gclose);
    if (!groups.isEmpty()) w.stringAttr(entry, "default", groups.first());
    w.string(entry, "program_name", QStringLiteral("qor10"));
    {
        H5Id d(H5Dopen2(entry, "program_name", H5P_DEFAULT), H5Dclose);
        if (d.ok()) w.stringAttr(d, "version", QString::fromLatin1(kProgramVersion));
    }
    w.string(entry, "title", QStringLiteral("2D element map scan"));
    w.string(entry, "start_time", isoTime(start_));
    w.string(entry, "end_time", isoTime(end));
    w.string(entry, "file_name_prefix", fromSjis(r.ScanFileName));
    w.string(entry, "scan_state", QString::fromLatin1(scanFileStateText(state)));
    w.stringAttr(entry, "row_order", QString::fromLatin1(kRowOrder));
    if (!notRecorded_.isEmpty()) w.stringsAttr(entry, "not_recorded", notRecorded_);
    {
        const hsize_t dims[2] = {static_cast<hsize_t>(planes_), static_cast<hsize_t>(passes_)};
        H5Id space(H5Screate_simple(2, dims, nullptr), H5Sclose);
        H5Id d(H5Dcreate2(entry, "lines_measured", H5T_STD_I32LE, space, H5P_DEFAULT,
                          H5P_DEFAULT, H5P_DEFAULT),
               H5Dclose);
        if (!d.ok()) w.ok = false;
        else {
            w.check(H5Dwrite(d, H5T_NATIVE_INT32, H5S_ALL, H5S_ALL, H5P_DEFAULT, lines_.data()));
            w.stringAttr(d, "description",
                         QStringLiteral("whole lines stored, per Z plane (first index) and pass "
                                        "(second index); of %1 lines per plane")
                             .arg(rows));
            w.stringAttr(d, "last_written",
                         QStringLiteral("plane %1, pass %2").arg(plane).arg(pass));
        }
    }

    // The scan settings.
    {
        H5Id g(w.group(entry, "scan", "NXcollection"), H5Gclose);
        w.integer(g, "x_pixel_pulses", r.ScanXPixelPulses);
        w.integer(g, "y_pixel_pulses", r.ScanYPixelPulses);
        w.real(g, "x_pixel_size", perUnit(r, 0) > 0 ? r.ScanXPixelPulses / perUnit(r, 0) : 0.0,
               "mm");
        w.real(g, "y_pixel_size", perUnit(r, 1) > 0 ? r.ScanYPixelPulses / perUnit(r, 1) : 0.0,
               "mm");
        w.integer(g, "x_steps", r.ScanXSteps);
        w.integer(g, "y_steps", r.ScanYSteps);
        w.integer(g, "x_speed", r.ScanXSpeedPps, "pulses/s");
        w.string(g, "method", methodText(r.ScanMethod));
        w.integer(g, "method_index", r.ScanMethod);
        w.integer(g, "x_backlash", r.XBacklashPulses, "pulses");
        w.integer(g, "y_backlash", r.YBacklashPulses, "pulses");
        w.integer(g, "repeats", r.ScanRepeat);
        w.integer(g, "use_z", r.ScanUseZ);
        w.integer(g, "z_planes", planes_);
        w.real(g, "z_start", r.ZStart, "mm");
        w.real(g, "z_end", r.ZEnd, "mm");
        w.real(g, "z_step", r.ZStep, "mm");
        w.reals(g, "pulses_per_mm",
                {double(r.MotorLogicalPulses[0]), double(r.MotorLogicalPulses[1]),
                 double(r.MotorLogicalPulses[2])});
        static const int32_t kChannels[5] = {256, 512, 1024, 2048, 4096};
        w.integer(g, "mca_channels",
                  r.MapChannelIndex >= 0 && r.MapChannelIndex < 5 ? kChannels[r.MapChannelIndex]
                                                                  : 0);
    }
    // The energy calibration of MCA1.
    {
        H5Id g(w.group(entry, "calibration", "NXcollection"), H5Gclose);
        w.integer(g, "order", r.CalibOrder[0]);
        w.reals(g, "coefficients", {r.CalibA[0], r.CalibB[0], r.CalibC[0], r.CalibD[0]});
        w.string(g, "formula",
                 r.CalibOrder[0] == 1   ? QStringLiteral("a + b*ch + c*ch^2")
                 : r.CalibOrder[0] == 2 ? QStringLiteral("a + b*ch + c*ch^2 + d*ch^3")
                                        : QStringLiteral("a + b*ch"));
        w.string(g, "unit", fromSjis(r.EnergyUnit[0]));
    }

    // Axes shared by every map.
    std::vector<double> xs(cols), ys(rows), zs(planes_);
    for (int c = 0; c < cols; ++c) xs[c] = mapColumnMm(r, c);
    for (int y = 0; y < rows; ++y) ys[y] = mapRowMm(r, y);
    for (int p = 0; p < planes_; ++p) zs[p] = mapPlaneMm(r, p);

    const hsize_t dims[3] = {static_cast<hsize_t>(planes_), static_cast<hsize_t>(rows),
                             static_cast<hsize_t>(cols)};
    const hsize_t chunk[3] = {1, static_cast<hsize_t>(std::clamp(262144 / cols, 1, rows)),
                              static_cast<hsize_t>(cols)};
    H5Id dcpl(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    H5Pset_chunk(dcpl, 3, chunk);
    const int32_t zero = 0;
    H5Pset_fill_value(dcpl, H5T_NATIVE_INT32, &zero);
    H5Pset_shuffle(dcpl);
    H5Pset_deflate(dcpl, 1);
    H5Id fileSpace(H5Screate_simple(3, dims, nullptr), H5Sclose);
    const hsize_t planeDims[3] = {1, static_cast<hsize_t>(rows), static_cast<hsize_t>(cols)};
    H5Id memSpace(H5Screate_simple(3, planeDims, nullptr), H5Sclose);
    buffer_.resize(static_cast<std::size_t>(rows) * cols);

    int gi = 0;
    for (int s = 0; s < 20; ++s) {
        if (r.MapRoiEnabled[s] != 1) continue;
        const QString name = groups[gi++];
        const QByteArray nameU = name.toUtf8();
        H5Id g(w.group(entry, nameU.constData(), "NXdata"), H5Gclose);
        if (!g.ok()) continue;
        w.stringAttr(g, "signal", QStringLiteral("data"));
        w.stringsAttr(g, "axes",
                      {r.ScanUseZ == 1 ? QStringLiteral("z") : QStringLiteral("."),
                       QStringLiteral("y"), QStringLiteral("x")});
        if (r.ScanUseZ == 1) w.stringAttr(g, "z_indices", QStringLiteral("0"));
        w.string(g, "title", name);
        H5Id d(H5Dcreate2(g, "data", H5T_STD_I32LE, fileSpace, H5P_DEFAULT, dcpl, H5P_DEFAULT),
               H5Dclose);
        if (!d.ok()) {
            w.ok = false;
            continue;
        }
        w.stringAttr(d, "long_name", name + QStringLiteral(" (counts)"));
        w.stringAttr(d, "units", QStringLiteral("counts"));
        w.stringAttr(d, "interpretation", QStringLiteral("image"));
        w.stringAttr(d, "row_order", QString::fromLatin1(kRowOrder));
        for (int p = 0; p < planes_; ++p) {
            bool have = false;
            if (p == plane) {
                // Transposed from the store (row fastest) into rows of columns, in blocks of
                // rows so that both sides stay in the cache.
                const int32_t* base = maps.data() + MapStore::index(s, 0, 0);
                for (int y0 = 0; y0 < rows; y0 += 64) {
                    const int y1 = std::min(rows, y0 + 64);
                    for (int x = 0; x < cols; ++x) {
                        const int32_t* col = base + static_cast<std::size_t>(x) * kMapSide;
                        for (int y = y0; y < y1; ++y)
                            buffer_[static_cast<std::size_t>(y) * cols + x] = col[y];
                    }
                }
                have = true;
            } else if (planeWritten_[p] && old.ok()) {
                QuietErrors quiet;
                const QByteArray dsPath = "/entry/" + nameU + "/data";
                H5Id od(H5Dopen2(old, dsPath.constData(), H5P_DEFAULT), H5Dclose);
                if (od.ok()) {
                    H5Id os(H5Dget_space(od), H5Sclose);
                    hsize_t odims[3] = {};
                    if (H5Sget_simple_extent_ndims(os) == 3 &&
                        H5Sget_simple_extent_dims(os, odims, nullptr) == 3 &&
                        std::equal(odims, odims + 3, dims)) {
                        const hsize_t start[3] = {static_cast<hsize_t>(p), 0, 0};
                        H5Sselect_hyperslab(os, H5S_SELECT_SET, start, nullptr, planeDims,
                                            nullptr);
                        have = H5Dread(od, H5T_NATIVE_INT32, memSpace, os, H5P_DEFAULT,
                                       buffer_.data()) >= 0;
                    }
                }
            }
            if (!have) continue;   // a plane not measured yet keeps the fill value 0
            const hsize_t start[3] = {static_cast<hsize_t>(p), 0, 0};
            w.check(H5Sselect_hyperslab(fileSpace, H5S_SELECT_SET, start, nullptr, planeDims,
                                        nullptr));
            w.check(H5Dwrite(d, H5T_NATIVE_INT32, memSpace, fileSpace, H5P_DEFAULT,
                             buffer_.data()));
        }
        w.reals(g, "x", xs, "mm");
        w.reals(g, "y", ys, "mm");
        if (r.ScanUseZ == 1) w.reals(g, "z", zs, "mm");
        // The map ROI: ROI s + 1 of MCA1's table, its channels and the count kind.
        w.integer(g, "map_slot", s + 1);
        w.string(g, "element", fromSjis(r.MapRoiElementName[s]));
        w.integer(g, "roi_start_channel", r.RoiStart[0][s + 1]);
        w.integer(g, "roi_end_channel", r.RoiEnd[0][s + 1]);
        w.string(g, "roi_kind", r.MapRoiKind[s] == 0 ? QStringLiteral("NET")
                                                      : QStringLiteral("GROSS"));
    }

    if (w.ok) w.check(H5Fflush(file, H5F_SCOPE_GLOBAL));
    QByteArray image;
    if (w.ok) {
        const ssize_t size = H5Fget_file_image(file, nullptr, 0);
        if (size <= 0) w.ok = false;
        else {
            image.resize(static_cast<qsizetype>(size));
            if (H5Fget_file_image(file, image.data(), static_cast<size_t>(size)) != size)
                w.ok = false;
        }
    }
    if (!w.ok) {
        failed.reason = QStringLiteral("HDF5 library error while building the file");
        failed.error = path_ + QStringLiteral(": ") + failed.reason;
        return failed;
    }
    return writeFileSafely(path_, image);
}

}  // namespace qor
