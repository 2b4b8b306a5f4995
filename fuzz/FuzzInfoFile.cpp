// Entry point of the information file loader: the input is written as the information file and
// loaded over a record, then the spectrum subsystem's readers of the record run over it (the
// file writers, the ROI rules, the view's window and the texts), as a record from a damaged or
// foreign file would meet them.

#include "app/InfoFile.h"
#include "app/TextCodec.h"
#include "fuzz/FuzzEntries.h"
#include "spectrum/RoiFiles.h"
#include "spectrum/RoiTable.h"
#include "spectrum/SpectrumFileRecord.h"
#include "spectrum/SpectrumState.h"
#include "spectrum/SpectrumView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>

namespace qor::fuzz {

namespace {

constexpr unsigned char kUnloaded = 0x5A;

bool windowInside(const SpectrumState& v) {
    const ChannelWindow w = safeWindow(v);
    return w.start >= 0 && w.end < kSlotChannels && w.span >= 1 && w.start <= w.end;
}

template <std::size_t N>
int textLength(const char (&field)[N]) {
    return static_cast<int>(fromSjis(field).size());
}

}  // namespace

const char* infoFileInput(const uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;  // one folder for the whole run, removed at the end
    static InfoRecord r;
    static SpectrumState view;
    const QString path = buildInfoFilePath(dir.path());
    {
        QFile f(path);
        QOR_CHECK(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "the input can be written");
        QOR_CHECK(f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
                      static_cast<qint64>(size),
                  "the input is written whole");
    }
    std::memset(&r, kUnloaded, sizeof r);
    QOR_CHECK(loadInfoFile(path, r) == InfoLoad::Loaded, "an existing file loads");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&r);
    const std::size_t loaded = size < kInfoRecordSize ? size : kInfoRecordSize;
    QOR_CHECK(std::memcmp(bytes, data, loaded) == 0, "the record is the file's bytes");
    for (std::size_t i = loaded; i < kInfoRecordSize; ++i)
        QOR_CHECK(bytes[i] == kUnloaded, "a short file leaves the rest of the record");

    fillSlotTestPatterns(view);
    // The writers for one slot (a byte of the record chooses which: each costs 4096 lines), the
    // ROI rules and the view for all three.
    const int written = bytes[1000] % kSlotCount;
    for (int s = 0; s < kSlotCount; ++s) {
        if (s == written) {
            // The file writers: a count outside 0..4096 is refused, any other is written and reads
            // back whole.
            const DatContent dc = binaryContent(r, view.slot[s]);
            uint8_t header[kDatHeaderSize] = {};
            std::string out, error;
            const bool datOk = buildDat(header, dc, out, error);
            QOR_CHECK(datOk == (dc.channels >= 0 && dc.channels <= kFileMaxChannels),
                      "a binary save is refused exactly for a bad count");
            if (datOk) {
                static DatFile f;
                QOR_CHECK(
                    readDat(reinterpret_cast<const uint8_t*>(out.data()), out.size(), f, error),
                    "a saved binary file reads back");
            }
            const CsvContent cc = csvContent(r, s, view.slot[s]);
            const bool csvOk =
                buildCsv(cc.data, cc.channels, cc.header, cc.comment1, cc.comment2, out, error);
            QOR_CHECK(csvOk == (cc.channels >= 0 && cc.channels <= kFileMaxChannels),
                      "a CSV save is refused exactly for a bad count");
            if (csvOk) {
                static int32_t work[kFileMaxChannels];
                CsvReadInfo info;
                readCsv(out.data(), out.size(), cc.channels, work, info);
                QOR_CHECK(info.stored == cc.channels && info.ignored == 0,
                          "a saved CSV file reads back whole");
            }
            buildRoiTable(r.RoiStart[s], r.RoiEnd[s], out);
            static int32_t start[128], end[128];
            const RoiReadInfo ri = readRoiTable(out.data(), out.size(), start, end);
            QOR_CHECK(ri.stored + ri.ignored == kRoiFileCount,
                      "every line of a saved table is read");
        }

        // The ROI rules and the view's window over whatever the record holds.
        const int32_t N = viewChannels(r.SlotViewChannels[s]);
        QOR_CHECK(N >= 1 && N <= kSlotChannels, "the view's channel count is inside the slot");
        for (int roi = 0; roi < kRoiCount; ++roi) {
            const RoiCounts c = roiNetGross(view.slot[s], r.RoiStart[s][roi], r.RoiEnd[s][roi],
                                            r.SlotViewChannels[s]);
            (void)c;
        }
        (void)roiAtChannel(r, s, 100);
        (void)ChannelToEnergy(r, s, 1000.0);
        // The view as the start-up sets it from the record, then zoom, scroll and cursor
        // commands in an order the record's bytes choose, each for the slot's channel count.
        resetView(view, r.SlotViewChannels[0]);
        view.PlotWidth = 1 + (bytes[s] & 0x3FF);
        for (int i = 0; i < 16; ++i) {
            const unsigned char op = bytes[64 + 16 * s + i];
            switch (op % 7) {
                case 0:
                    zoomIn(view, s, N);
                    break;
                case 1:
                    zoomOut(view, s, N);
                    break;
                case 2:
                    scrollLeft(view, s, N);
                    break;
                case 3:
                    scrollRight(view, s, N);
                    break;
                case 4:
                    cursorLeft(view, s);
                    break;
                case 5:
                    cursorRight(view, s);
                    break;
                default:
                    cursorToPixel(view, s, op * 4);
                    break;
            }
            QOR_CHECK(windowInside(view), "the view's window stays inside the slot");
            QOR_CHECK(view.CursorChannel[s] >= 0 && view.CursorChannel[s] < kSlotChannels,
                      "the cursor stays inside the slot");
        }
        const int cur = roiIndex(r.RoiEnd[s][2]);
        for (int step = 0; step < 2; ++step) {
            const int32_t before = r.RoiEnd[s][cur];
            if (step == 0)
                roiWiden(r, s, cur, N);
            else
                roiShiftRight(r, s, cur, N);
            const int32_t after = r.RoiEnd[s][cur];
            QOR_CHECK(after == before || (after >= 0 && after < kSlotChannels),
                      "a ROI end the rules move stays inside the slot");
        }
    }

    // The record's texts as the windows show them.
    int total = textLength(r.SaveFolder) + textLength(r.CollectFileName) + textLength(r.UsbSerial) +
                textLength(r.CollectName) + textLength(r.RunName) + textLength(r.SpectrumComment1) +
                textLength(r.SpectrumComment2) + textLength(r.Mca1Name) + textLength(r.Mca2Name) +
                textLength(r.ScanFileName);
    for (int i = 0; i < 8; ++i) total += textLength(r.MotorName[i]) + textLength(r.EnergyUnit[i]);
    for (int i = 0; i < 32; ++i) total += textLength(r.MapRoiElementName[i]);
    QOR_CHECK(total >= 0, "texts convert");
    return nullptr;
}

}  // namespace qor::fuzz
