// The line tables in the running program: identification of the simulated specimen's element-scan
// spectrum, the line markers on the spectrum view, the report's Element column, the Table menu,
// maps set up from the identified elements and scanned, the calibration dialog with typed and
// chosen energies, and the command-line analysis against "自".

#include "analysis/FitSearchSettings.h"
#include "analysis/LineState.h"
#include "analysis/SlotIdentify.h"
#include "analysis/TecalDlg.h"
#include "app/FieldText.h"
#include "app/LineTablePage.h"
#include "app/PaintBox.h"
#include "app/RadioGroup.h"
#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"
#include "spectrum/LineMarkers.h"
#include "spectrum/McaPage.h"
#include "spectrum/TOKRightDlg2.h"
#include "support/Harness.h"
#include "support/SimSpectra.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>
#include <cmath>
#include <set>

using namespace qor;
using namespace qor::test;

namespace {

constexpr double kTiKa = 4.511, kZnKa = 8.639;

McaPage& mca(Harness& h) { return *h.form().MCAcollect; }
LineTablePage& xpage(Harness& h) { return *h.form().TabXray; }

// The element-scan spectrum of the whole tile in MCA1 (2048 channels), the MCA page shown, and
// the search settings that suit the specimen.
void loadSpectrum(Harness& h) {
    elementScanSpectrum(2048, 240.0, 5, h.st().spectrum.slot[0]);
    h.rec().SlotViewChannels[0] = 2048;
    h.rec().DerivFilterIndex = 6;
    h.rec().SigmaIndex = 5;
    h.rec().ExpectedFwhm = 16;
    h.form().PageMaster->setCurrentIndex(TForm9::kMca);
}

// The channel of the last search's peak nearest `ch`.
double peakNear(Harness& h, double ch) {
    const PeakResults& r = h.st().analysis.peaks;
    double best = -1e9;
    for (int i = 0; i < r.PeakCount; ++i)
        if (std::fabs(r.PeakChannel[i] - ch) < std::fabs(best - ch)) best = r.PeakChannel[i];
    return best;
}

// "自", then a two-point calibration of MCA1 on the Ti Kα and Zn Kα peaks it found.
void searchAndCalibrate(Harness& h) {
    mca(h).SpeedButton26->click();
    const double ti = peakNear(h, 451), zn = peakNear(h, 864);
    ASSERT_NEAR(451, ti, 3);
    ASSERT_NEAR(864, zn, 3);
    h.rec().CalibOrder[0] = 0;
    h.rec().CalibB[0] = (kZnKa - kTiKa) / (zn - ti);
    h.rec().CalibA[0] = kTiKa - h.rec().CalibB[0] * ti;
}

// Runs the program's command line in `dir` without any display.
struct CommandRun {
    int exitCode = -1;
    QString out, err;
};
CommandRun runCommandLine(const QString& dir, const QStringList& args) {
    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    run.setProcessEnvironment(env);
    run.setWorkingDirectory(dir);
    run.start(QStringLiteral(QOR10_PATH), args);
    CommandRun r;
    if (!run.waitForFinished(30000)) return r;
    r.exitCode = run.exitCode();
    r.out = QString::fromUtf8(run.readAllStandardOutput());
    r.err = QString::fromUtf8(run.readAllStandardError());
    return r;
}

// Saves MCA1 as tile.DAT in the harness folder with "保存" and closes the window, which writes the
// information file and the settings file the command line reads. Returns the file's path.
QString saveSpectrumAndClose(Harness& h) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    const QString file = QDir(h.dir()).filePath(QStringLiteral("tile.DAT"));
    h.dialogs.expect({QStringLiteral("save"), file});
    h.form().SpeedButton17->click();
    EXPECT_TRUE(QFile::exists(file));
    h.close();
    return file;
}

QStringList rankedNames(LineTablePage& p) {
    QStringList names;
    for (int i = 0; i < p.RankedList->rowCount(); ++i) names << p.RankedList->item(i, 0)->text();
    return names;
}

// The plot columns that hold a marker pixel just above the baseline.
std::vector<int> markerColumns(Harness& h) {
    const QImage& img = mca(h).SPCImage;
    const int B = h.st().spectrum.PlotHeight - 30;
    std::vector<int> cols;
    for (int x = 0; x < img.width(); ++x)
        for (int y = B - 4; y <= B; ++y)
            if ((img.pixel(x, y) & 0xffffff) == (kMarkerColour & 0xffffff)) {
                cols.push_back(x);
                break;
            }
    return cols;
}

}  // namespace

TEST(LineTablesWindow, IdentificationOfTheElementScanRanksTheSpecimensElementsAndMarksThem) {
    Harness h;
    loadSpectrum(h);
    searchAndCalibrate(h);
    h.form().PageMaster->setCurrentIndex(TForm9::kXray);
    xpage(h).IdentifyButton->click();
    const QStringList names = rankedNames(xpage(h));
    ASSERT_GE(names.size(), 5);
    EXPECT_EQ((std::set<QString>{"Ti", "Fe", "Cu", "Zn", "Pb"}),
              (std::set<QString>(names.begin(), names.begin() + 5)))
        << names.join(' ').toStdString();
    // Each row names the lines its element explains.
    const int fe = names.indexOf(QStringLiteral("Fe"));
    EXPECT_EQ(QStringLiteral("Kα, Kβ"), xpage(h).RankedList->item(fe, 2)->text());
    // The identified elements are marked on the spectrum view.
    EXPECT_EQ(static_cast<size_t>(std::min<int>(names.size(), kMaxMarkedSources)),
              h.st().lines.marked.size());
}

TEST(LineTablesWindow, FeMarkersStandWithinOneChannelOfTheMeasuredLinesAndNeedACalibration) {
    Harness h;
    loadSpectrum(h);
    searchAndCalibrate(h);
    const double ka = peakNear(h, 640), kb = peakNear(h, 705);
    ASSERT_NEAR(640, ka, 3);
    ASSERT_NEAR(705, kb, 3);
    // Fe checked in the X table's list.
    LineTablePage& p = xpage(h);
    p.populate();
    const auto found = p.SourceList->findItems(QStringLiteral("Fe"), Qt::MatchExactly);
    ASSERT_EQ(1, found.size());
    found[0]->setCheckState(Qt::Checked);
    h.form().PageMaster->setCurrentIndex(TForm9::kMca);
    h.form().DrawSpectrum();
    const SpectrumState& sp = h.st().spectrum;
    const int W = sp.PlotWidth, start = sp.ViewStartChannel, span = sp.ViewChannelSpan;
    auto column = [&](double ch) { return double(ch - start) * W / span; };
    const std::vector<int> cols = markerColumns(h);
    // One marker per Fe line of at least 5 % in its family above 1 keV: Kα and Kβ.
    ASSERT_EQ(2u, cols.size());
    auto nearest = [&](double ch) {
        double best = 1e9;
        for (int c : cols) best = std::min(best, std::fabs(c - column(ch)));
        return best;
    };
    // Within one channel (plus the pixel's rounding) of the measured peaks.
    EXPECT_LE(nearest(ka), double(W) / span + 1.0) << ka;
    EXPECT_LE(nearest(kb), double(W) / span + 1.0) << kb;
    EXPECT_GT(nearest(ka + 4), double(W) / span + 1.0) << "and not just anywhere";

    // Without a calibration no marker stands, and the view shows the note instead.
    h.rec().CalibA[0] = h.rec().CalibB[0] = 0.0;
    h.form().DrawSpectrum();
    EXPECT_TRUE(markerColumns(h).empty());
    const QImage& note = h.st().lines.needCalibration;
    ASSERT_FALSE(note.isNull());
    int same = 0, inked = 0;
    for (int y = 0; y < note.height(); ++y)
        for (int x = 0; x < note.width(); ++x) {
            if ((note.pixel(x, y) & 0xffffff) == 0xffffff) continue;
            ++inked;
            same += mca(h).SPCImage.pixel(50 + x, 40 + y) == note.pixel(x, y);
        }
    EXPECT_GT(inked, 50);
    EXPECT_EQ(inked, same) << "the note is drawn whole at (50, 40)";
}

TEST(LineTablesWindow, ReportElementColumnNamesTheAssignedLineOnlyWithACalibration) {
    Harness h;
    loadSpectrum(h);
    h.rec().PeakReportPrint = 1;
    mca(h).SpeedButton26->click();   // no calibration yet
    ASSERT_EQ(1u, h.printing.jobs.size());
    auto lineOf = [&](size_t job, double ch) {
        const PeakResults& r = h.st().analysis.peaks;
        for (int i = 0; i < r.PeakCount; ++i)
            if (std::fabs(r.PeakChannel[i] - ch) < 3) return h.printing.jobs[job].texts[1 + i].text;
        return QString();
    };
    EXPECT_TRUE(lineOf(0, 640).endsWith(QStringLiteral("      undef"))) << lineOf(0, 640).toStdString();
    searchAndCalibrate(h);   // its search comes before its calibration: a second "undef" report
    mca(h).SpeedButton26->click();
    ASSERT_EQ(3u, h.printing.jobs.size());
    EXPECT_TRUE(lineOf(2, 640).endsWith(QStringLiteral("      Fe Kα"))) << lineOf(2, 640).toStdString();
    EXPECT_TRUE(lineOf(2, 805).endsWith(QStringLiteral("      Cu Kα"))) << lineOf(2, 805).toStdString();
    EXPECT_TRUE(lineOf(2, 1055).endsWith(QStringLiteral("      Pb Lα"))) << lineOf(2, 1055).toStdString();
}

TEST(LineTablesWindow, TableMenuChoosesTheTableOfIdentificationAndMarkers) {
    Harness h;
    loadSpectrum(h);
    searchAndCalibrate(h);
    h.form().PageMaster->setCurrentIndex(TForm9::kXray);
    h.form().ray1->trigger();
    xpage(h).IdentifyButton->click();
    // Against the radionuclides, iron's K lines are the X lines of 57Co.
    const QStringList nuclides = rankedNames(xpage(h));
    EXPECT_TRUE(nuclides.contains(QStringLiteral("57Co"))) << nuclides.join(' ').toStdString();
    for (const QString& n : nuclides) EXPECT_TRUE(n.front().isDigit()) << n.toStdString();
    EXPECT_EQ(TableKind::Gamma, h.st().lines.table);
    EXPECT_FALSE(h.st().lines.marked.empty());
    // Back to the X-ray table: the nuclides' markers and ranking go, elements come back.
    h.form().Xray1->trigger();
    EXPECT_TRUE(h.st().lines.marked.empty());
    EXPECT_EQ(0, xpage(h).RankedList->rowCount());
    xpage(h).IdentifyButton->click();
    EXPECT_TRUE(rankedNames(xpage(h)).contains(QStringLiteral("Fe")));
}

// The whole road: identify, "map these", Start SCAN; the maps are named after the elements and
// show the specimen's shapes where they lie on the tile.
TEST(LineTablesWindow, MapsSetUpFromIdentifiedElementsAreScannedIntoFilesNamedAfterThem) {
    Harness h;
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();
    loadSpectrum(h);
    searchAndCalibrate(h);
    h.form().PageMaster->setCurrentIndex(TForm9::kXray);
    xpage(h).IdentifyButton->click();
    const QStringList names = rankedNames(xpage(h));
    ASSERT_GE(names.size(), 5);
    // Keep the specimen's five (the air path's argon is in every spectrum).
    for (int i = 0; i < xpage(h).RankedList->rowCount(); ++i)
        xpage(h).RankedList->item(i, 0)->setCheckState(i < 5 ? Qt::Checked : Qt::Unchecked);
    // "自" made ROIs of MCA1: the program asks before replacing them.
    h.dialogs.expect({QStringLiteral("confirm"), QString(), 1, nullptr});
    xpage(h).MapButton->click();
    EXPECT_TRUE(h.dialogs.script.empty());
    SetupScanPage& s = *h.form().Setup2DSCAN;
    auto slotOf = [&](const char* el) {
        for (int i = 0; i < 20; ++i)
            if (h.rec().MapRoiEnabled[i] && QString::fromLatin1(h.rec().MapRoiElementName[i]) == el)
                return i;
        return -1;
    };
    std::set<QString> shown;
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(i < 5, h.rec().MapRoiEnabled[i] != 0) << i;
        EXPECT_EQ(i < 5, s.mapRoiCheck[i]->isChecked()) << "the page shows slot " << i;
        if (i < 5) shown.insert(s.mapRoiName[i]->text());
    }
    EXPECT_EQ((std::set<QString>{"Ti", "Fe", "Cu", "Zn", "Pb"}), shown);
    const int fe = slotOf("Fe");
    ASSERT_GE(fe, 0);
    // ROI fe + 1 of MCA1 lies around Fe Kα (channel 640), one FWHM (about 16 channels) each side.
    EXPECT_NEAR(640, (h.rec().RoiStart[0][fe + 1] + h.rec().RoiEnd[0][fe + 1]) / 2.0, 2);
    EXPECT_NEAR(32, h.rec().RoiEnd[0][fe + 1] - h.rec().RoiStart[0][fe + 1], 8);

    // A 16 x 16 scan over the tile, 40 pulses a pixel at 400 pulses/s.
    constexpr int kSide = 16;
    s.Edit74->setText(QStringLiteral("400"));
    s.Edit75->setText(QStringLiteral("40"));
    s.Edit76->setText(QStringLiteral("40"));
    s.Edit77->setText(QString::number(kSide));
    s.Edit78->setText(QString::number(kSide));
    s.Edit81->setText(QStringLiteral("1"));
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    h.form().NonStop2Dcollect->Edit141->setText(QStringLiteral("run"));
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    h.form().NonStop2Dcollect->Button65->click();
    ASSERT_EQ(2, h.st().ScanMode);
    h.runTimers([&] { return h.st().ScanMode == 2; }, 5000);
    ASSERT_EQ(0, h.st().ScanMode);

    const QStringList files = QDir(h.dir()).entryList({QStringLiteral("*.CSV")}, QDir::Files);
    ASSERT_EQ(5, files.size()) << files.join(' ').toStdString();
    for (const char* el : {"Ti", "Fe", "Cu", "Zn", "Pb"})
        EXPECT_EQ(1, files.filter(QRegularExpression(QStringLiteral("stepZ0001%1\\.CSV$").arg(el))).size()) << el;
    auto sum = [&](const char* el, int x0, int x1, int y0, int y1) {
        int64_t v = 0;
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y) v += h.st().maps.at(slotOf(el), x, y);
        return v;
    };
    // Fe disc upper left, Cu ring upper right (its centre emptier than its band), Zn triangle
    // lower right, Pb cross lower left; Ti rising from left to right.
    EXPECT_GT(sum("Fe", 3, 5, 10, 12), 3 * sum("Fe", 10, 12, 2, 4));
    EXPECT_GT(sum("Cu", 9, 9, 10, 12) + sum("Cu", 13, 13, 10, 12), 3 * sum("Cu", 11, 11, 10, 12));
    EXPECT_GT(sum("Zn", 10, 12, 2, 4), 3 * sum("Zn", 3, 5, 10, 12));
    EXPECT_GT(sum("Pb", 3, 5, 3, 5), 3 * sum("Pb", 10, 12, 10, 12));
    EXPECT_GT(sum("Ti", 13, 15, 0, 15), sum("Ti", 0, 2, 0, 15));
}

TEST(LineTablesWindow, CalibrationDialogComputesFromTheEnergiesNowInItsBoxes) {
    Harness h;
    loadSpectrum(h);
    h.rec().RoiStart[0][1] = 625;   // Fe Kα near 640
    h.rec().RoiEnd[0][1] = 655;
    h.rec().RoiStart[0][2] = 849;   // Zn Kα near 864
    h.rec().RoiEnd[0][2] = 879;
    h.rec().CalibEnergy[0][1] = 1.0;   // stored energies the dialog opens with
    h.rec().CalibEnergy[0][2] = 2.0;
    double b1 = 0, b2 = 0;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [&](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          const double x1 = e.RefChannel[1], x2 = e.RefChannel[2];
                          e.RadioGroup1->button(0)->click();
                          e.Edit1->setText(QStringLiteral("6.404"));
                          e.Edit2->setText(QStringLiteral("8.639"));
                          e.Button1->click();
                          b1 = e.Edit11->text().toDouble();
                          EXPECT_NEAR((8.639 - 6.404) / (x2 - x1), b1, 1e-9);
                          EXPECT_NEAR(6.404 - b1 * x1, e.Edit10->text().toDouble(), 1e-6);
                          // Typed again: the result follows.
                          e.Edit2->setText(QStringLiteral("9.000"));
                          e.Button1->click();
                          b2 = e.Edit11->text().toDouble();
                          EXPECT_NEAR((9.0 - 6.404) / (x2 - x1), b2, 1e-9);
                      }});
    mca(h).SpeedButton8->click();
    EXPECT_NEAR(b2, h.rec().CalibB[0], 1e-12);
    EXPECT_DOUBLE_EQ(9.0, h.rec().CalibEnergy[0][2]);
}

TEST(LineTablesWindow, CalibrationEnergyBoxesFillFromTheLineTables) {
    Harness h;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Rejected, [&](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          auto* button = e.findChild<QToolButton*>(QStringLiteral("LineButton3"));
                          ASSERT_TRUE(button);
                          emit button->pressed();
                          ASSERT_TRUE(button->menu());
                          auto pick = [&](const QString& start) {
                              for (QAction* a : button->menu()->findChildren<QAction*>())
                                  if (a->text().startsWith(start)) {
                                      a->trigger();
                                      return true;
                                  }
                              return false;
                          };
                          ASSERT_TRUE(pick(QStringLiteral("Cu Kα ")));
                          EXPECT_EQ(formatC("%10.3lf", 8.041), e.Edit3->text());
                          ASSERT_TRUE(pick(QStringLiteral("241Am γ 59.54 ")));
                          EXPECT_EQ(formatC("%10.3lf", 59.541), e.Edit3->text());
                          EXPECT_EQ(formatC("%10.3lf", 0.0), e.Edit1->text()) << "other rows stay";
                      }});
    mca(h).SpeedButton8->click();
    EXPECT_TRUE(h.dialogs.script.empty());
}

namespace {
// The numbers of one printed peak line are those of the window's peak `i`.
void expectColumnsOf(const PeakResults& r, int i, const QStringList& f) {
    EXPECT_EQ(QString::asprintf("%.2f", r.PeakChannel[i]), f[0]);
    EXPECT_EQ(QString::asprintf("%.2f", r.PeakFwhm[i]), f[2]);
    EXPECT_EQ(QString::asprintf("%.2f", r.PeakNet[i]), f[3]);
    EXPECT_EQ(QString::asprintf("%.2f", r.PeakBackground[i]), f[4]);
    EXPECT_EQ(QString::asprintf("%.2f", r.PeakError[i]), f[5]);
}
}  // namespace

// A physicist's batch run: the command line on a DAT file the program wrote gives the peaks
// "自" gives in the window, and it runs without any display.
TEST(LineTablesWindow, CommandLineAnalysisGivesThePeaksOfTheWindowsSearch) {
    Harness h;
    loadSpectrum(h);
    searchAndCalibrate(h);
    const PeakResults& r = h.st().analysis.peaks;
    ASSERT_GT(r.PeakCount, 8);
    const QString file = saveSpectrumAndClose(h);   // with the search settings of the window

    const CommandRun run = runCommandLine(
        h.dir(), {QStringLiteral("--analyse"), file, QStringLiteral("--calibration"),
                  QString::asprintf("%.12g,%.12g", h.rec().CalibA[0], h.rec().CalibB[0])});
    EXPECT_EQ(0, run.exitCode) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(r.PeakCount + 1, lines.size());
    EXPECT_EQ(QStringLiteral("channel\tenergy\tfwhm\tnet\tbackground\terror\tline"), lines[0]);
    for (int i = 0; i < r.PeakCount; ++i) {
        const QStringList f = lines[1 + i].split('\t');
        ASSERT_EQ(7, f.size());
        expectColumnsOf(r, i, f);
        if (std::fabs(r.PeakChannel[i] - 640) < 3) EXPECT_EQ(QStringLiteral("Fe Kα"), f[6]);
    }
    // A file it cannot read: a clear message and a non-zero exit.
    const CommandRun missing =
        runCommandLine(h.dir(), {QStringLiteral("--analyse"), QStringLiteral("missing.DAT")});
    EXPECT_NE(0, missing.exitCode);
    EXPECT_EQ(QStringLiteral("qor10: cannot read missing.DAT: no such file\n"), missing.err);
}

// With the fitting search chosen in the window, "自" fits the peaks; the command line told
// --search fit prints the same fitted peaks with the lines the window assigned, and without
// --search it takes the choice from the settings file the window wrote.
TEST(LineTablesWindow, CommandLineFittingSearchGivesThePeaksOfTheWindowsFittingSearch) {
    Harness h;
    loadSpectrum(h);
    FitSearchSettings fit;
    fit.fit = true;
    fit.write(h.st().settings);
    searchAndCalibrate(h);
    mca(h).SpeedButton26->click();   // once more, identified with the calibration
    const PeakResults& r = h.st().analysis.peaks;
    ASSERT_GT(r.PeakCount, 8);
    ASSERT_EQ(-1, r.PeakSearchParams[0]) << "the window used the fitting search";
    const QString file = saveSpectrumAndClose(h);

    const QString calibration =
        QString::asprintf("%.12g,%.12g", h.rec().CalibA[0], h.rec().CalibB[0]);
    const CommandRun run = runCommandLine(
        h.dir(), {QStringLiteral("--analyse"), file, QStringLiteral("--search"),
                  QStringLiteral("fit"), QStringLiteral("--calibration"), calibration});
    EXPECT_EQ(0, run.exitCode) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(r.PeakCount + 1, lines.size());
    int named = 0;
    for (int i = 0; i < r.PeakCount; ++i) {
        const QStringList f = lines[1 + i].split('\t');
        ASSERT_EQ(7, f.size());
        expectColumnsOf(r, i, f);
        EXPECT_EQ(QString::fromStdString(reportElement(h.st().lines, 0, i)), f[6]) << f[0].toStdString();
        named += f[6] != QLatin1String("undef");
    }
    EXPECT_GT(named, 4);

    const CommandRun chosen = runCommandLine(
        h.dir(), {QStringLiteral("--analyse"), file, QStringLiteral("--calibration"), calibration});
    EXPECT_EQ(run.out, chosen.out) << "the settings file's choice";
    const CommandRun standard = runCommandLine(
        h.dir(), {QStringLiteral("--analyse"), file, QStringLiteral("--search"),
                  QStringLiteral("standard"), QStringLiteral("--calibration"), calibration});
    EXPECT_EQ(0, standard.exitCode);
    EXPECT_NE(run.out, standard.out) << "--search standard wins over the settings file";
}

TEST(LineTablesWindow, CommandLineRefusesAnUnknownSearch) {
    const CommandRun run = runCommandLine(
        QDir::tempPath(), {QStringLiteral("--analyse"), QStringLiteral("tile.DAT"),
                           QStringLiteral("--search"), QStringLiteral("best")});
    EXPECT_EQ(2, run.exitCode);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("qor10: --search takes fit or standard, not best\n")))
        << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
}
