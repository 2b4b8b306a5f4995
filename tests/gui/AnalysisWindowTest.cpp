// The analysis commands of the MCA page against the simulated instrument: automatic peak search
// on the specimen's lines, nearest peak with its readout, energy calibration from two lines,
// smoothing into WORK, the peak report (canvas and PDF), calibration ROIs and parameters.

#include "analysis/PeakAnalysis.h"
#include "analysis/TOKRightDlg.h"
#include "analysis/TTeiseiDlg.h"
#include "analysis/TecalDlg.h"
#include "app/FieldText.h"
#include "app/QtPrinting.h"
#include "app/RadioGroup.h"
#include "spectrum/McaPage.h"
#include "spectrum/SpectrumPlot.h"
#include "support/Harness.h"

#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

// K-alpha lines of the specimen and their channels at 2048 channels of 10 eV (channel c covers
// c * 10 eV to (c + 1) * 10 eV).
constexpr double kFeKa = 6.404, kCuKa = 8.048, kZnKa = 8.639;
double channelOf(double keV) { return keV / 0.01 - 0.5; }

// Moves the stage under the beam to (x, y) mm and waits there until it stands.
void moveStage(Harness& h, double x, double y) {
    h.sim->KX10Motor_MoveTo_PAddress(1, '2', 0, int32_t(std::lround(x * 100)));
    h.sim->KX10Motor_MoveTo_PAddress(1, '2', 1, int32_t(std::lround(y * 100)));
    for (int i = 0; i < 600; ++i) {
        h.clock.advance(100);
        h.sim->advance();
        const SimMotorController* m = h.sim->motors(2);
        if (!m->moving(0) && !m->moving(1)) return;
    }
    FAIL() << "the stage did not arrive";
}

// Connects and acquires one spectrum of 2048 channels that holds the Fe disc, the Cu ring and
// the Zn triangle: the analyser measures `seconds` on each and stands still while the stage
// moves.
void acquireSpecimen(Harness& h, int seconds = 40) {
    h.alerts.clear();
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    McaPage& p = *h.form().MCAcollect;
    p.Edit14->setText(QStringLiteral("10000000"));
    const double size = 6.4;
    const double points[3][2] = {{0.28, 0.70}, {0.855, 0.70}, {0.725, 0.21}};   // Fe, Cu, Zn
    for (const auto& pt : points) {
        moveStage(h, pt[0] * size, pt[1] * size);
        p.Button5->click();
        h.tick1(seconds * 1000);
        p.Button4->click();
        h.tick1();
    }
    ASSERT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
}

// The ROI of slot 0 that contains `channel` and whose peak lies within 3 channels of it.
int roiOnLine(Harness& h, double channel) {
    const PeakResults& res = h.st().analysis.peaks;
    for (int i = 0; i < res.PeakCount; ++i) {
        const int k = i + 1;
        if (h.rec().RoiStart[0][k] <= channel && channel <= h.rec().RoiEnd[0][k] &&
            std::fabs(res.PeakChannel[i] - channel) < 4.0)   // a quarter of the lines' FWHM
            return k;
    }
    return 0;
}

// Opens the parameters dialog through its button and picks items there.
void setParameters(Harness& h, int derivFilter, int sigma, int expectedFwhm) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [=](QDialog& d) {
                          auto& t = dynamic_cast<TTeiseiDlg&>(d);
                          t.RadioGroup2->button(derivFilter)->click();
                          t.RadioGroup3->button(sigma)->click();
                          t.Edit3->setText(QString::number(expectedFwhm));
                      }});
    h.form().MCAcollect->SpeedButton9->click();
}

}  // namespace

TEST(AnalysisWindow, AutomaticSearchMarksTheLinesAndTwoOfThemCalibrateTheThird) {
    Harness h;
    acquireSpecimen(h);
    McaPage& p = *h.form().MCAcollect;
    setParameters(h, 6, 5, 16);   // 13-point filter, 4.0 sigma, FWHM 16 channels
    ASSERT_EQ(6, h.rec().DerivFilterIndex);
    ASSERT_EQ(5, h.rec().SigmaIndex);
    ASSERT_EQ(16, h.rec().ExpectedFwhm);
    h.rec().RoiStart[0][50] = 100;
    h.rec().RoiEnd[0][50] = 120;
    h.alerts.clear();

    p.SpeedButton26->click();
    const PeakResults& res = h.st().analysis.peaks;
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_GE(res.PeakCount, 3);
    const int fe = roiOnLine(h, channelOf(kFeKa));
    const int cu = roiOnLine(h, channelOf(kCuKa));
    const int zn = roiOnLine(h, channelOf(kZnKa));
    EXPECT_NE(0, fe) << "Fe K-alpha";
    EXPECT_NE(0, cu) << "Cu K-alpha";
    EXPECT_NE(0, zn) << "Zn K-alpha";
    if (res.PeakCount < 50) EXPECT_EQ(0, h.rec().RoiEnd[0][50]) << "old ROIs are gone";
    EXPECT_EQ(QString::number(h.rec().RoiStart[0][1]), p.Edit18->text()) << "ROI 1 is shown";
    EXPECT_EQ(QString::number(h.rec().RoiEnd[0][1]), p.Edit19->text());
    ASSERT_TRUE(fe && cu && zn);

    // One undo brings back the table "自" replaced, the hand-set ROI 50 with it; no second one.
    h.st().spectrum.CurrentRoi[0] = 7;
    ASSERT_TRUE(p.UndoAutoRoi->isEnabled());
    p.UndoAutoRoi->click();
    EXPECT_EQ(100, h.rec().RoiStart[0][50]);
    EXPECT_EQ(120, h.rec().RoiEnd[0][50]);
    EXPECT_EQ(0, h.rec().RoiEnd[0][1]) << "ROI 1 was empty before";
    EXPECT_EQ(1, h.st().spectrum.CurrentRoi[0]) << "the current ROI number as it was";
    EXPECT_FALSE(p.UndoAutoRoi->isEnabled());
    p.UndoAutoRoiClick();
    EXPECT_EQ(100, h.rec().RoiStart[0][50]);
    EXPECT_TRUE(h.alerts.statusTexts.last().startsWith(QStringLiteral("元に戻すROI表はありません")));

    // Fe and Zn become ROI 1 and 2 through the nearest-peak command, then calibrate.
    p.Button11->click();   // All Clear
    h.st().spectrum.CurrentRoi[0] = 1;
    for (double line : {kFeKa, kZnKa}) {
        h.st().spectrum.CursorChannel[0] = int32_t(std::lround(channelOf(line)));
        p.SpeedButton27->click();
    }
    ASSERT_TRUE(h.alerts.messages.isEmpty()) << h.alerts.messages.join(" | ").toStdString();
    EXPECT_EQ(3, h.st().spectrum.CurrentRoi[0]);
    EXPECT_EQ(QStringLiteral("3"), p.Edit17->text());

    // First opening: type the energies and confirm (stores them); second: compute and confirm.
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          EXPECT_TRUE(e.CheckBox1->isChecked());
                          EXPECT_TRUE(e.CheckBox2->isChecked());
                          EXPECT_FALSE(e.CheckBox3->isChecked());
                          e.Edit1->setText(QStringLiteral("6.404"));
                          e.Edit2->setText(QStringLiteral("8.639"));
                      }});
    p.SpeedButton8->click();
    EXPECT_DOUBLE_EQ(kFeKa, h.rec().CalibEnergy[0][1]);
    EXPECT_DOUBLE_EQ(kZnKa, h.rec().CalibEnergy[0][2]);
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          EXPECT_EQ(QStringLiteral("     6.404"), e.Edit1->text());
                          e.RadioGroup1->button(0)->click();
                          e.Button1->click();
                      }});
    p.SpeedButton8->click();
    EXPECT_EQ((QStringList{QStringLiteral("ecalStart.wav"), QStringLiteral("ecalStart.wav")}),
              h.sounds.played.filter(QStringLiteral("ecal")));
    EXPECT_TRUE(std::isfinite(h.rec().CalibA[0]) && std::isfinite(h.rec().CalibB[0]));
    EXPECT_NEAR(0.01, h.rec().CalibB[0], 0.0005);

    // The cursor on the Cu line reads its energy.
    const int32_t cuChannel = int32_t(std::lround(res.PeakChannel[cu - 1]));
    h.st().spectrum.CursorChannel[0] = cuChannel;
    const QString shown = formatC("%10.3lf", p.ChannelToEnergy(0, cuChannel));
    EXPECT_NEAR(kCuKa, shown.toDouble(), 0.05) << shown.toStdString();
}

TEST(AnalysisWindow, NearestPeakShowsItsReadoutWithoutOverlapAndNoPeakSaysSo) {
    Harness h;
    acquireSpecimen(h, 20);
    McaPage& p = *h.form().MCAcollect;
    setParameters(h, 0, 0, 16);
    SpectrumState& sp = h.st().spectrum;
    sp.CurrentRoi[0] = 5;
    sp.CursorChannel[0] = int32_t(std::lround(channelOf(kCuKa))) - 4;
    h.alerts.clear();
    p.SpeedButton27->click();
    ASSERT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_EQ(1, sp.PeakInfoVisible);
    EXPECT_NEAR(channelOf(kCuKa), sp.PeakInfoChannel, 2.0);
    EXPECT_NEAR(17.0, sp.PeakInfoFwhm, 3.0) << "about 170 eV at 8 keV";
    EXPECT_GT(sp.PeakInfoNet, 1000.0);
    EXPECT_GT(sp.PeakInfoError, std::sqrt(sp.PeakInfoNet));
    EXPECT_EQ(6, sp.CurrentRoi[0]);
    EXPECT_LT(h.rec().RoiStart[0][5], sp.PeakInfoChannel);
    EXPECT_GT(h.rec().RoiEnd[0][5], sp.PeakInfoChannel);
    EXPECT_EQ(QStringLiteral("6"), p.Edit17->text());

    // The five readout texts stand apart on the view: ink inside each, white between them.
    const QImage& img = p.PaintBox1->shownImage();
    const GlyphAtlas font{QFont()};
    char t[5][48];
    std::snprintf(t[0], sizeof t[0], "Peak ch = %8.2f", sp.PeakInfoChannel);
    std::snprintf(t[1], sizeof t[1], "FWHM    = %8.2f", sp.PeakInfoFwhm);
    std::snprintf(t[2], sizeof t[2], "Net Counts = %8.2f", sp.PeakInfoNet);
    std::snprintf(t[3], sizeof t[3], "G.B Counts = %8.2f", sp.PeakInfoBackground);
    std::snprintf(t[4], sizeof t[4], "(+/-)Error = %8.2f", sp.PeakInfoError);
    const char* const texts[5] = {t[0], t[1], t[2], t[3], t[4]};
    int xs[5];
    peakReadoutColumns(font, texts, xs);
    EXPECT_EQ(20, xs[0]);
    const int top = sp.PlotHeight - 14;
    const auto inkIn = [&](int x0, int x1) {
        int ink = 0;
        for (int y = top; y < top + font.height() && y < img.height(); ++y)
            for (int x = std::max(0, x0); x < std::min(x1, img.width()); ++x)
                ink += qGray(img.pixel(x, y)) < 128;
        return ink;
    };
    ASSERT_LT(xs[4] + font.width(texts[4]), img.width()) << "the readout fits the view";
    for (int i = 0; i < 5; ++i) {
        const int end = xs[i] + font.width(texts[i]);
        EXPECT_GT(inkIn(xs[i], end), 10) << "text " << i;
        if (i < 4) {
            EXPECT_GE(xs[i + 1], end + kPeakReadoutGap) << "text " << i + 1 << " after " << i;
            EXPECT_EQ(0, inkIn(end + 1, xs[i + 1] - 1)) << "gap after text " << i;
        }
    }

    // FWHM on a peak shows it and sets no ROI.
    sp.CursorChannel[0] = int32_t(std::lround(channelOf(kFeKa)));
    p.SpeedButton29->click();
    EXPECT_NEAR(channelOf(kFeKa), sp.PeakInfoChannel, 2.0);
    EXPECT_EQ(6, sp.CurrentRoi[0]) << "the FWHM command sets no ROI";
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    // No peak at the cursor (a flat WORK spectrum): a message, nothing changes.
    for (int c = 0; c < kSlotChannels; ++c) sp.slot[kSlotWork][c] = 100;
    p.RadioGroup1->button(kSlotWork)->click();
    sp.CurrentRoi[kSlotWork] = 4;
    sp.CursorChannel[kSlotWork] = 1000;
    p.SpeedButton27->click();
    EXPECT_EQ(QStringList{QStringLiteral("ピークが見つからない！")}, h.alerts.messages);
    EXPECT_EQ(4, sp.CurrentRoi[kSlotWork]);
    EXPECT_EQ(0, h.rec().RoiEnd[kSlotWork][4]);
    EXPECT_EQ(1, sp.PeakInfoVisible) << "the last result stays shown";
    p.SpeedButton29->click();
    EXPECT_EQ(2, h.alerts.messages.size());
    EXPECT_EQ(0, sp.PeakInfoVisible) << "the FWHM command hides it";
}

TEST(AnalysisWindow, SmoothingPutsASmootherSpectrumIntoWork) {
    Harness h;
    acquireSpecimen(h, 5);
    McaPage& p = *h.form().MCAcollect;
    const int32_t* mca = h.st().spectrum.slot[0];
    const int32_t* work = h.st().spectrum.slot[kSlotWork];
    const auto roughness = [](const int32_t* s) {
        double r = 0;
        for (int c = 100; c < 1900; ++c) r += std::fabs(double(s[c + 1]) - 2.0 * s[c] + s[c - 1]);
        return r;
    };
    std::vector<int32_t> before(mca, mca + kSlotChannels);
    h.alerts.clear();
    h.rec().SmoothFilter = 0;
    h.rec().SmoothPointsIndex = 2;   // 9 points
    p.SpeedButton28->click();
    EXPECT_EQ(1, h.alerts.beeps);
    EXPECT_LT(roughness(work), 0.5 * roughness(mca));
    double sumMca = 0, sumWork = 0;
    for (int c = 100; c < 1900; ++c) { sumMca += mca[c]; sumWork += work[c]; }
    EXPECT_NEAR(sumMca, sumWork, 0.01 * sumMca) << "smoothing keeps the counts";
    EXPECT_EQ(before, std::vector<int32_t>(mca, mca + kSlotChannels)) << "MCA1 is unchanged";
    EXPECT_EQ(mca[3000], work[3000]) << "above the 2048 channels WORK copies the source";

    // Moving average of 0 points: the message, WORK as it was.
    std::vector<int32_t> kept(work, work + kSlotChannels);
    h.rec().SmoothFilter = 2;
    h.rec().SmoothAveragePoints = 0;
    p.SpeedButton28->click();
    EXPECT_EQ(QStringList{QStringLiteral("Smoothing ERROR!")}, h.alerts.messages);
    EXPECT_EQ(2, h.alerts.beeps);
    EXPECT_EQ(kept, std::vector<int32_t>(work, work + kSlotChannels));
}

TEST(AnalysisWindow, PeakReportGoesThroughThePrinterSetup) {
    Harness h;
    h.alerts.clear();
    SpectrumState& sp = h.st().spectrum;
    for (int c = 0; c < kSlotChannels; ++c) sp.slot[0][c] = 30;
    for (int c = 0; c < kSlotChannels; ++c)
        for (double centre : {400.0, 900.0, 1500.0}) {
            const double d = (c - centre) / 2.5;
            sp.slot[0][c] += int32_t(5000 * std::exp(-0.5 * d * d));
        }
    McaPage& p = *h.form().MCAcollect;
    p.SpeedButton26->click();
    EXPECT_EQ(0, h.printing.setupDialogs) << "no report unless asked for";
    EXPECT_EQ(3, h.st().analysis.peaks.PeakCount);

    h.rec().PeakReportPrint = 1;
    h.printing.setupAnswer = false;
    p.SpeedButton26->click();
    EXPECT_EQ(1, h.printing.setupDialogs);
    EXPECT_TRUE(h.printing.jobs.empty()) << "a cancelled set-up prints nothing";
    EXPECT_EQ(3, h.st().analysis.peaks.PeakCount) << "the search results stay";

    h.printing.setupAnswer = true;
    p.SpeedButton26->click();
    ASSERT_EQ(1u, h.printing.jobs.size());
    const FakePrinting::Job& job = h.printing.jobs[0];
    ASSERT_EQ(4u, job.texts.size());
    EXPECT_EQ(QStringLiteral("Terminal"), job.texts[0].font);
    EXPECT_TRUE(job.texts[0].text.startsWith(QStringLiteral(" No.   Peak[ch]")));
    EXPECT_TRUE(job.texts[3].text.startsWith(QStringLiteral("  3     1500.")));
    EXPECT_TRUE(h.alerts.messages.isEmpty());

    h.printing.canStart = false;
    p.SpeedButton26->click();
    EXPECT_EQ(1u, h.printing.jobs.size());
    ASSERT_EQ(1, h.alerts.messages.size()) << "a printer that cannot start is reported";
}

namespace {

// The program's own printing, with the set-up dialog answered at once and the printer writing
// a PDF file.
class PdfPrinting : public QtPrinting {
public:
    explicit PdfPrinting(const QString& path) {
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(path);
    }
    bool printerSetupDialog() override { return true; }
};

int pdfPages(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = f.readAll();
    return int(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

}  // namespace

TEST(AnalysisWindow, PeakReportOfEightyPeaksPrintsTwoPdfPages) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    FakeAlerts alerts;
    FakeSounds sounds;
    FakeDialogs dialogs;
    ManualClock clock;
    PdfPrinting printing(pdf);
    Services services{alerts, sounds, dialogs, clock, printing};
    Kx10Simulator sim(clock);
    TForm9 form(services, sim, dir.path());
    form.createDialogs();
    form.show();
    alerts.clear();

    AppState& st = form.state();
    st.rec.SlotViewChannels[kSlotWork] = 4096;
    for (int c = 0; c < kSlotChannels; ++c) st.spectrum.slot[kSlotWork][c] = 20;
    for (int i = 0; i < 80; ++i)
        for (int c = 40 + 50 * i - 10; c <= 40 + 50 * i + 10; ++c) {
            const double d = (c - (40.0 + 50 * i)) / 1.7;
            st.spectrum.slot[kSlotWork][c] += int32_t(3000 * std::exp(-0.5 * d * d));
        }
    McaPage& p = *form.MCAcollect;
    p.RadioGroup1->button(kSlotWork)->click();
    ASSERT_EQ(kSlotWork, st.spectrum.ViewSlot);
    st.rec.PeakReportPrint = 1;
    p.SpeedButton26->click();
    EXPECT_EQ(80, st.analysis.peaks.PeakCount);
    EXPECT_EQ(st.analysis.peaks.PeakLow[79], st.rec.RoiStart[kSlotWork][80]);
    EXPECT_TRUE(alerts.messages.isEmpty()) << alerts.messages.join(" | ").toStdString();
    EXPECT_EQ(2, pdfPages(pdf)) << "71 lines, then 9";
}

TEST(AnalysisWindow, CalibrationRoisAreStoredAndRecalledOnlyAfterConfirmation) {
    Harness h;
    McaPage& p = *h.form().MCAcollect;
    InfoRecord& r = h.rec();
    for (int k = 1; k <= 8; ++k) {
        r.RoiStart[0][k] = 100 * k;
        r.RoiEnd[0][k] = 100 * k + 30;
    }
    TOKRightDlg& confirm = *h.form().dialogs.OKRightDlg;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Rejected, nullptr});
    p.SpeedButton14->click();
    EXPECT_EQ(0, r.CalibRoiEnd[0][1]) << "cancelled";
    EXPECT_EQ(QStringLiteral("現在のROI#1..8 を校正用のROI領域として"), confirm.Label1->text());
    EXPECT_EQ(QStringLiteral("記録しても良いですか?"), confirm.Label2->text());
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    p.SpeedButton14->click();
    EXPECT_EQ(830, r.CalibRoiEnd[0][8]);

    for (int k = 1; k <= 8; ++k) r.RoiEnd[0][k] = 5;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, nullptr});
    p.SpeedButton10->click();
    EXPECT_EQ(QStringLiteral("現在のROI#1..8 に記録されたエネルギー校正用の"), confirm.Label1->text());
    EXPECT_EQ(QStringLiteral("ROI領域を読み出しますか?"), confirm.Label2->text());
    EXPECT_EQ(330, r.RoiEnd[0][3]);
    EXPECT_EQ(5, r.RoiBackupEnd[0][3]);
    EXPECT_EQ((QStringList{QStringLiteral("ecalroiset.wav"), QStringLiteral("ecalroiset.wav"),
                           QStringLiteral("ecalroicall.wav")}),
              h.sounds.played.filter(QStringLiteral("ecalroi")));
    EXPECT_TRUE(h.dialogs.script.empty());
}

TEST(AnalysisWindow, CalibrationComputeRefusesTooFewPointsAndKeepsTheCubicTerm) {
    Harness h;
    h.alerts.clear();
    McaPage& p = *h.form().MCAcollect;
    InfoRecord& r = h.rec();
    SpectrumState& sp = h.st().spectrum;
    for (int c = 0; c < kSlotChannels; ++c) sp.slot[0][c] = 0;
    const int peaks[4] = {100, 200, 1200, 1800};
    const double energies[4] = {50.0, 100.0, 590.0, 905.0};
    for (int k = 1; k <= 4; ++k) {
        sp.slot[0][peaks[k - 1]] = 500;
        r.RoiStart[0][k] = peaks[k - 1] - 5;
        r.RoiEnd[0][k] = peaks[k - 1] + 5;
        r.CalibEnergy[0][k] = energies[k - 1];
    }
    r.CalibA[0] = 0.25;
    r.CalibB[0] = 0.0101;

    // One checked point for a line: refused with a message; boxes and coefficients kept.
    QStringList afterRefusal;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [&](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          EXPECT_EQ(QStringLiteral("100"), e.Label3->text());
                          for (int k = 2; k <= 8; ++k) e.rowCheck(k)->setChecked(false);
                          e.RadioGroup1->button(0)->click();
                          e.Button1->click();
                          afterRefusal << e.Edit10->text() << e.Edit11->text();
                      }});
    p.SpeedButton8->click();
    ASSERT_EQ(1, h.alerts.messages.size());
    EXPECT_EQ(QString::fromUtf8(TecalDlg::kFitRefusedText), h.alerts.messages[0]);
    EXPECT_EQ((QStringList{QStringLiteral("0.25"), QStringLiteral("0.0101")}), afterRefusal);
    EXPECT_EQ(0.25, r.CalibA[0]) << "OK kept the slot's calibration";
    EXPECT_EQ(0.0101, r.CalibB[0]);

    // (100, 50 keV) and (200, 100 keV), linear: a = 0, b = 0.5, channel 150 reads 75.
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [&](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          e.CheckBox3->setChecked(false);
                          e.CheckBox4->setChecked(false);
                          e.Button1->click();
                      }});
    p.SpeedButton8->click();
    EXPECT_NEAR(0.0, r.CalibA[0], 1e-12);
    EXPECT_NEAR(0.5, r.CalibB[0], 1e-15);
    EXPECT_EQ(0.0, r.CalibC[0]);
    EXPECT_EQ(0.0, r.CalibD[0]);
    EXPECT_NEAR(75.0, p.ChannelToEnergy(0, 150), 1e-9);

    // Four points, cubic: Edit13 shows d and OK stores it.
    QString shownD;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [&](QDialog& d) {
                          auto& e = dynamic_cast<TecalDlg&>(d);
                          e.RadioGroup1->button(2)->click();
                          e.Button1->click();
                          shownD = e.Edit13->text();
                      }});
    p.SpeedButton8->click();
    EXPECT_EQ(1, h.alerts.messages.size());
    EXPECT_EQ(2, r.CalibOrder[0]);
    EXPECT_NE(0.0, r.CalibD[0]);
    EXPECT_EQ(formatGeneral(r.CalibD[0]), shownD);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(energies[k], p.ChannelToEnergy(0, peaks[k]), 1e-9) << "point " << k;
}

TEST(AnalysisWindow, ParametersButtonPlaysItsCueOnlyWithTheSoundOn) {
    Harness h;
    McaPage& p = *h.form().MCAcollect;
    h.rec().VoiceOn = 0;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Rejected, [](QDialog& d) {
                          dynamic_cast<TTeiseiDlg&>(d).Edit1->setText(QStringLiteral("33"));
                      }});
    p.SpeedButton9->click();
    EXPECT_FALSE(h.sounds.played.contains(QStringLiteral("calcsetup.wav")));
    EXPECT_EQ(10, h.rec().DerivPoints) << "cancelled";
    h.rec().VoiceOn = 1;
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [](QDialog& d) {
                          auto& t = dynamic_cast<TTeiseiDlg&>(d);
                          EXPECT_EQ(QStringLiteral("10"), t.Edit1->text());
                          t.Edit1->setText(QStringLiteral("33"));
                      }});
    p.SpeedButton9->click();
    EXPECT_EQ(1, h.sounds.played.count(QStringLiteral("calcsetup.wav")));
    EXPECT_EQ(33, h.rec().DerivPoints);
}
