// The fitting search in the window: chosen in the parameters dialog, kept in the program's own
// settings file across a restart (the information file knows nothing of it), and "自" on a
// spectrum of the simulated specimen.

#include "analysis/FitSearchBox.h"
#include "analysis/FitSearchSettings.h"
#include "analysis/TTeiseiDlg.h"
#include "app/RadioGroup.h"
#include "spectrum/McaPage.h"
#include "spectrum/RoiTable.h"
#include "support/Harness.h"

#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace qor;
using namespace qor::test;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Picks the search kind (and, with `sigma`, 4.0 sigma) in the parameters dialog and confirms.
void chooseSearch(Harness& h, int kind, bool sigma = false) {
    h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Accepted, [=](QDialog& d) {
                          auto& t = dynamic_cast<TTeiseiDlg&>(d);
                          t.FitBox->SearchKind->button(kind)->click();
                          if (sigma) t.RadioGroup3->button(5)->click();
                      }});
    h.form().MCAcollect->SpeedButton9->click();
}

// Connects and measures 60 s on the Fe disc.
void acquireFe(Harness& h) {
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.sim->KX10Motor_MoveTo_PAddress(1, '2', 0, 180);
    h.sim->KX10Motor_MoveTo_PAddress(1, '2', 1, 450);
    for (int i = 0; i < 600 && (h.sim->motors(2)->moving(0) || h.sim->motors(2)->moving(1)); ++i) {
        h.clock.advance(100);
        h.sim->advance();
    }
    McaPage& p = *h.form().MCAcollect;
    p.Edit14->setText(QStringLiteral("10000000"));
    p.Button5->click();
    h.tick1(60000);
    p.Button4->click();
    h.tick1();
}

}  // namespace

TEST(FitSearchWindow, ChoiceSurvivesARestartInTheSettingsFileOnly) {
    QTemporaryDir dir;
    QString settingsPath;
    QByteArray infoBefore, infoAfter;
    {
        Harness h(dir.path());
        h.close();
        infoBefore = bytesOf(h.infoPath());
    }
    {
        Harness h(dir.path());
        chooseSearch(h, 1);
        EXPECT_TRUE(FitSearchSettings::read(h.st().settings).fit);
        settingsPath = h.st().settingsFilePath;
        h.close();
        infoAfter = bytesOf(h.infoPath());
    }
    EXPECT_EQ(infoBefore, infoAfter) << "the information file is not touched by the choice";
    EXPECT_TRUE(bytesOf(settingsPath).contains("peak.search=fit\n"));
    {
        Harness h(dir.path());
        EXPECT_TRUE(FitSearchSettings::read(h.st().settings).fit);
        h.dialogs.expect({QStringLiteral("exec"), QString(), QDialog::Rejected, [](QDialog& d) {
                              EXPECT_EQ(1, dynamic_cast<TTeiseiDlg&>(d).FitBox->SearchKind->itemIndex());
                          }});
        h.form().MCAcollect->SpeedButton9->click();
        h.close();
    }
    QFile::remove(settingsPath);
    Harness h(dir.path());
    EXPECT_FALSE(FitSearchSettings::read(h.st().settings).fit) << "without its settings file: the standard search";
}

TEST(FitSearchWindow, AutomaticSearchMarksFeOnceWithTheNetOfAWideRoi) {
    Harness h;
    acquireFe(h);
    chooseSearch(h, 1, true);
    McaPage& p = *h.form().MCAcollect;
    h.alerts.clear();
    p.SpeedButton26->click();
    EXPECT_EQ(1, h.alerts.beeps);
    const PeakResults& res = h.st().analysis.peaks;
    const double feKa = 6.404 / 0.01 - 0.5;
    int fe = -1, nearFe = 0;
    for (int i = 0; i < res.PeakCount; ++i) {
        if (std::fabs(res.PeakChannel[i] - feKa) < 8) {
            fe = i;
            ++nearFe;
        }
        EXPECT_EQ(std::lround(res.PeakChannel[i] - 1.5 * res.PeakFwhm[i]), h.rec().RoiStart[0][i + 1]);
    }
    ASSERT_EQ(1, nearFe) << "Fe K-alpha once";
    EXPECT_NEAR(feKa, res.PeakChannel[fe], 1.0);
    // The net of a ROI of -+3 FWHM around it, set by hand.
    const double f = res.PeakFwhm[fe];
    const RoiCounts wide = roiNetGross(h.st().spectrum.slot[0], int32_t(std::lround(res.PeakChannel[fe] - 3 * f)),
                                       int32_t(std::lround(res.PeakChannel[fe] + 3 * f)), 2048);
    EXPECT_NEAR(wide.net, res.PeakNet[fe], 0.02 * wide.net);
    EXPECT_GT(res.PeakError[fe], std::sqrt(res.PeakNet[fe]));

    // "半" fits the group at the cursor with the same search: the same Fe K-alpha.
    const double net = res.PeakNet[fe], centroid = res.PeakChannel[fe];
    h.st().spectrum.CursorChannel[0] = int32_t(std::lround(feKa)) + 5;
    p.SpeedButton29->click();
    EXPECT_TRUE(h.alerts.messages.isEmpty());
    EXPECT_NEAR(centroid, h.st().spectrum.PeakInfoChannel, 0.05);
    EXPECT_NEAR(net, h.st().spectrum.PeakInfoNet, 1e-6 * net);
}
