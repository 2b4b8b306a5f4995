// The program against the instrument's driver library: a whole session (connect, one live
// spectrum, a 4 x 4 mapping scan, close) through Kx10Library and the stand-in library over the
// simulator, and again through the driver host serving that library, gives the same spectra,
// map cells, map files, messages and driver calls, call by call, as the same session against
// the simulator itself; the status bar names the instrument in use. A host killed in mid-scan
// leaves the program running and offline, the scan aborted, and the next connect starts a new
// host.

#include "app/InstrumentChoice.h"
#include "instrument/Kx10Host.h"
#include "instrument/Kx10Library.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "shim/ShimControl.h"
#include "spectrum/McaPage.h"
#include "support/Harness.h"
#include "support/HostedShim.h"
#include "support/LoggingKx10.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <gtest/gtest.h>
#include <vector>

using namespace qor;
using namespace qor::test;

namespace {

constexpr int kSide = 4;

struct Session {
    CallLog calls;
    std::vector<int32_t> firstTick;   // slot 0 after the first acquisition tick
    std::vector<int32_t> spectrum;    // slot 0 when the preset is reached
    std::vector<int32_t> maps;        // map slots 0 and 1, kSide x kSide cells each
    std::vector<QByteArray> files;    // the map files, by name order
    QStringList fileNames;
    QStringList messages;
    QStringList statusTexts;
    int32_t savedX = 0;               // MOTOR#1's position read back at close
};

std::vector<int32_t> slot0(Harness& h) {
    const int32_t* s = h.st().spectrum.slot[0];
    return std::vector<int32_t>(s, s + 4096);
}

void setUpScan(Harness& h);

// Connect; a 1 s live spectrum of 2048 channels on the MCA page; a one-way 4 x 4 scan with Fe
// K-alpha in map slot 1 and a broad ROI in slot 2; then the close, which reads the motors back.
void runSession(Harness& h, Session& out) {
    h.alerts.clear();   // the new information file's notice
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online) << h.alerts.messages.join('|').toStdString();

    McaPage& mca = *h.form().MCAcollect;
    mca.ComboBox3->setCurrentIndex(3);
    mca.ComboBox3Change();
    mca.Edit14->setText(QStringLiteral("100"));
    mca.Button5->click();
    h.tick1();
    out.firstTick = slot0(h);
    for (int i = 0; i < 3; ++i) h.tick1();
    out.spectrum = slot0(h);

    setUpScan(h);
    Scan2DPage& scan = *h.form().NonStop2Dcollect;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    scan.Button65->click();
    ASSERT_EQ(2, h.st().ScanMode);
    h.runTimers([&] { return h.st().ScanMode == 2; }, 2000);
    ASSERT_EQ(0, h.st().ScanMode) << "the scan ends by itself";
    for (int slot = 0; slot < 2; ++slot)
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) out.maps.push_back(h.st().maps.at(slot, x, y));
    out.fileNames = QDir(h.dir()).entryList({QStringLiteral("*.CSV")}, QDir::Files, QDir::Name);
    for (const QString& name : out.fileNames) {
        QFile f(QDir(h.dir()).filePath(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        out.files.push_back(f.readAll());
    }

    h.close();
    out.savedX = h.rec().MotorSavedPosition[0];
    out.messages = h.alerts.messages;
    out.statusTexts = h.alerts.statusTexts;
}

// A one-way 4 x 4 scan with Fe K-alpha in map slot 1 and a broad ROI in slot 2, files into the
// harness's folder, the 2D SCAN page shown.
void setUpScan(Harness& h) {
    InfoRecord& r = h.rec();
    r.RoiStart[0][1] = 628;
    r.RoiEnd[0][1] = 652;
    r.RoiStart[0][2] = 100;
    r.RoiEnd[0][2] = 2000;
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.mapRoiCheck[0]->setChecked(true);
    s.mapRoiName[0]->setText(QStringLiteral("Fe"));
    s.mapRoiCheck[1]->setChecked(true);
    s.mapRoiName[1]->setText(QStringLiteral("All"));
    s.Edit74->setText(QStringLiteral("400"));
    s.Edit75->setText(QStringLiteral("40"));
    s.Edit76->setText(QStringLiteral("40"));
    s.Edit77->setText(QString::number(kSide));
    s.Edit78->setText(QString::number(kSide));
    s.Edit81->setText(QStringLiteral("1"));
    s.smSelect->setCurrentIndex(0);
    s.smSelectChange();
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    Scan2DPage& scan = *h.form().NonStop2Dcollect;
    scan.Edit141->setText(QStringLiteral("lib"));
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
}

int64_t total(const std::vector<int32_t>& v, size_t from) {
    int64_t t = 0;
    for (size_t i = from; i < v.size(); ++i) t += v[i];
    return t;
}

int count(const CallLog& log, const std::string& op) {
    int n = 0;
    for (const std::string& line : log) n += line.compare(0, op.size() + 1, op + " ") == 0;
    return n;
}

QString instrumentLabel(Harness& h) {
    auto* label = h.form().StatusBar1->findChild<QLabel*>(QStringLiteral("InstrumentName"));
    return label ? label->text() : QStringLiteral("(no label)");
}

}  // namespace

TEST(DriverLibraryWindow, ASessionThroughTheLibraryEqualsTheSessionOnTheSimulator) {
    Session direct;
    {
        Harness h([&direct](Harness& h) {
            return std::make_unique<LoggingKx10>(*h.sim, direct.calls);
        });
        runSession(h, direct);
        if (HasFatalFailure()) return;
    }

    Session bound;
    QLibrary shim(QStringLiteral(KX10SHIM_PATH));
    auto reset = reinterpret_cast<Kx10ShimReset>(shim.resolve("kx10shim_reset"));
    ASSERT_TRUE(reset) << shim.errorString().toStdString();
    QString name;
    {
        Harness h([&](Harness& h) {
            reset(&h.clock, &bound.calls);
            InstrumentChoice c = chooseInstrument(QStringLiteral(KX10SHIM_PATH), h.clock);
            EXPECT_TRUE(c.instrument) << c.error.toStdString();
            EXPECT_NE(nullptr, dynamic_cast<Kx10Library*>(c.instrument.get()));
            name = c.name;
            return std::move(c.instrument);
        });
        showInstrumentName(*h.form().StatusBar1, name);
        EXPECT_EQ(QStringLiteral("libkx10shim.so"), instrumentLabel(h));
        runSession(h, bound);
        if (HasFatalFailure()) return;
    }

    // A third time through the driver host serving the same library in a process of its own.
    Session hosted;
    {
        std::unique_ptr<HostedShim> hostedShim;
        {
            Harness h([&](Harness& h) {
                hostedShim = std::make_unique<HostedShim>(h.clock);
                InstrumentChoice c = chooseInstrument(HostedShim::libraryPath(),
                                                      HostedShim::hostPath(), h.clock);
                EXPECT_TRUE(c.host) << c.error.toStdString();
                name = c.name;
                return hostedShim->synced(std::move(c.instrument));
            });
            showInstrumentName(*h.form().StatusBar1, name);
            EXPECT_EQ(HostedShim::instrumentName(), instrumentLabel(h));
            runSession(h, hosted);
            if (HasFatalFailure()) return;
        }
        // The host has ended with the harness: its library wrote the call log.
        hosted.calls = hostedShim->log();
    }

    // The session did what it says: a spectrum that grew, maps with counts, files written, the
    // connect, the pixels and the close reached the instrument.
    EXPECT_GT(total(direct.firstTick, 2), 0);
    EXPECT_GT(total(direct.spectrum, 2), total(direct.firstTick, 2));
    EXPECT_EQ(100, direct.spectrum[0]) << "live time at the preset";
    EXPECT_GT(total(direct.maps, kSide * kSide), 0) << "the broad ROI map";
    EXPECT_EQ(2, direct.fileNames.size());
    EXPECT_EQ(1, count(direct.calls, "KX10USB_Open"));
    EXPECT_GE(count(direct.calls, "KX10MCA_2DSCAN_ReadROI"), kSide * kSide);
    EXPECT_EQ(8, count(direct.calls, "KX10MCA_ReadSEQ") / 4) << "2048 channels, four ticks";
    EXPECT_GE(count(direct.calls, "KX10Motor_Read_Paddress"), 4) << "the close reads back";
    EXPECT_TRUE(direct.messages.isEmpty()) << direct.messages.join('|').toStdString();

    // ... and through the library it did exactly the same.
    EXPECT_EQ(direct.firstTick, bound.firstTick);
    EXPECT_EQ(direct.spectrum, bound.spectrum);
    EXPECT_EQ(direct.maps, bound.maps);
    EXPECT_EQ(direct.fileNames, bound.fileNames);
    EXPECT_EQ(direct.files, bound.files);
    EXPECT_EQ(direct.savedX, bound.savedX);
    EXPECT_EQ(direct.messages, bound.messages);
    EXPECT_EQ(direct.statusTexts, bound.statusTexts);
    ASSERT_EQ(direct.calls.size(), bound.calls.size());
    for (size_t i = 0; i < direct.calls.size(); ++i)
        ASSERT_EQ(direct.calls[i], bound.calls[i]) << "driver call " << i;

    // ... and through the driver host as well.
    EXPECT_EQ(direct.firstTick, hosted.firstTick);
    EXPECT_EQ(direct.spectrum, hosted.spectrum);
    EXPECT_EQ(direct.maps, hosted.maps);
    EXPECT_EQ(direct.fileNames, hosted.fileNames);
    EXPECT_EQ(direct.files, hosted.files);
    EXPECT_EQ(direct.savedX, hosted.savedX);
    EXPECT_EQ(direct.messages, hosted.messages);
    EXPECT_EQ(direct.statusTexts, hosted.statusTexts);
    ASSERT_EQ(direct.calls.size(), hosted.calls.size());
    for (size_t i = 0; i < direct.calls.size(); ++i)
        ASSERT_EQ(direct.calls[i], hosted.calls[i]) << "driver call " << i;
}

TEST(DriverLibraryWindow, AHostKilledInMidScanLeavesTheProgramOfflineUntilTheNextConnect) {
    std::unique_ptr<HostedShim> hostedShim;
    Kx10Host* host = nullptr;
    Harness h([&](Harness& h) {
        hostedShim = std::make_unique<HostedShim>(h.clock);
        InstrumentChoice c = chooseInstrument(HostedShim::libraryPath(),
                                              HostedShim::hostPath(), h.clock);
        host = c.host;
        return hostedShim->synced(std::move(c.instrument));
    });
    ASSERT_NE(nullptr, host);
    host->setLossHandler([&h](const QString& what) { h.form().instrumentLost(what); });
    h.alerts.clear();
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    setUpScan(h);
    Scan2DPage& scan = *h.form().NonStop2Dcollect;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    scan.Button65->click();
    ASSERT_EQ(2, h.st().ScanMode);
    const ScanSequencer& seq = scan.sequencer();
    h.runTimers([&] { return seq.run().PixelsStored < 6; }, 2000);
    ASSERT_EQ(2, h.st().ScanMode);
    const std::vector<int32_t> cells = [&] {
        std::vector<int32_t> v;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) v.push_back(h.st().maps.at(1, x, y));
        return v;
    }();
    ASSERT_GT(total(cells, 0), 0);

    const qint64 killed = host->processId();
    killProcess(killed);
    if (HasFatalFailure()) return;
    h.runTimers([&] { return h.st().ScanMode == 2; }, 20);

    // Offline, lamp off, the scan aborted through its abort path, the loss named.
    EXPECT_EQ(0, h.st().Online);
    EXPECT_EQ(0, h.st().ScanMode);
    EXPECT_TRUE(h.form().qorOFF->isVisibleTo(&h.form()));
    EXPECT_EQ(ScanEnd::Aborted, seq.display().end);
    ASSERT_FALSE(h.alerts.messages.isEmpty());
    const QString& last = h.alerts.messages.last();
    const QString hostName = QFileInfo(HostedShim::hostPath()).fileName();
    EXPECT_TRUE(last.startsWith(QStringLiteral("The driver host %1 ended during ").arg(hostName)) &&
                last.endsWith(QStringLiteral("; the instrument is offline.")))
        << h.alerts.messages.join('|').toStdString();
    // The end text is the loss, then what was kept of the pass under way.
    EXPECT_TRUE(seq.display().endText.startsWith(last + QStringLiteral(": 1 of 4 lines kept")))
        << seq.display().endText.toStdString();
    // The map keeps the pixels measured before the loss.
    for (int y = 0, i = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x, ++i)
            EXPECT_EQ(cells[size_t(i)], h.st().maps.at(1, x, y)) << x << "," << y;

    // The next connect starts a new host and goes online again.
    h.alerts.clear();
    h.form().SpeedButton20->click();
    EXPECT_EQ(1, h.st().Online) << h.alerts.messages.join('|').toStdString();
    EXPECT_TRUE(host->running());
    EXPECT_NE(killed, host->processId());
    EXPECT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join('|').toStdString();
}

TEST(DriverLibraryWindow, TheStatusBarNamesTheInstrumentInUse) {
    Harness h;
    InstrumentChoice sim = chooseInstrument(QString(), h.clock);
    ASSERT_NE(nullptr, dynamic_cast<Kx10Simulator*>(sim.instrument.get()));
    showInstrumentName(*h.form().StatusBar1, sim.name);
    EXPECT_EQ(QStringLiteral("simulated instrument"), instrumentLabel(h));
    // A status text (the version after connect, a motor error) leaves the name in view.
    h.form().StatusBar1->showMessage(QStringLiteral("KX10 V1.00"));
    auto* label = h.form().StatusBar1->findChild<QLabel*>(QStringLiteral("InstrumentName"));
    ASSERT_NE(nullptr, label);
    EXPECT_TRUE(label->isVisibleTo(h.form().StatusBar1));
    // Named again, the one label changes its text.
    showInstrumentName(*h.form().StatusBar1, QStringLiteral("KX10DLLXE5.so"));
    EXPECT_EQ(1, h.form().StatusBar1->findChildren<QLabel*>(QStringLiteral("InstrumentName")).size());
    EXPECT_EQ(QStringLiteral("KX10DLLXE5.so"), instrumentLabel(h));
}

TEST(DriverLibraryWindow, ALibraryThatCannotBeBoundIsRefusedWithTheReason) {
    ManualClock clock;
    InstrumentChoice missing = chooseInstrument(QStringLiteral("/no/such/dir/libkx10.so"), clock);
    EXPECT_EQ(nullptr, missing.instrument);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("/no/such/dir/libkx10.so")))
        << missing.error.toStdString();
    InstrumentChoice partial = chooseInstrument(QStringLiteral(KX10SHIM_PARTIAL_PATH), clock);
    EXPECT_EQ(nullptr, partial.instrument);
    EXPECT_TRUE(partial.error.contains(QStringLiteral("KX10MCA_Clear")));
    EXPECT_TRUE(partial.error.contains(QStringLiteral("KX10SC24_Status")));
}
