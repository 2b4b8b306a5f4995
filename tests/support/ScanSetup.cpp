#include "support/ScanSetup.h"

#include "scan/Scan2DPage.h"
#include "scan/SetupScanPage.h"

#include <QTabWidget>
#include <gtest/gtest.h>

namespace qor::test {

void configureFeCuScan(Harness& h, int side, int method) {
    h.form().SpeedButton20->click();
    ASSERT_EQ(1, h.st().Online);
    h.alerts.clear();   // the new information file's notice, the version text
    InfoRecord& r = h.rec();
    r.RoiStart[0][1] = 628;
    r.RoiEnd[0][1] = 652;
    r.RoiStart[0][2] = 793;
    r.RoiEnd[0][2] = 817;
    SetupScanPage& s = *h.form().Setup2DSCAN;
    s.mapRoiCheck[0]->setChecked(true);
    s.mapRoiName[0]->setText(QStringLiteral("Fe"));
    s.mapRoiCheck[1]->setChecked(true);
    s.mapRoiName[1]->setText(QStringLiteral("Cu"));
    s.Edit74->setText(QStringLiteral("400"));
    s.Edit75->setText(QStringLiteral("40"));
    s.Edit76->setText(QStringLiteral("40"));
    s.Edit77->setText(QString::number(side));
    s.Edit78->setText(QString::number(side));
    s.Edit81->setText(QStringLiteral("1"));
    s.smSelect->setCurrentIndex(method);
    s.smSelectChange();
    ASSERT_EQ(method, r.ScanMethod);
    h.form().Edit27->setText(h.dir() + QLatin1Char('/'));
    h.form().NonStop2Dcollect->Edit141->setText(QStringLiteral("run"));
    h.form().PageMaster->setCurrentIndex(TForm9::kScan2D);
}

}  // namespace qor::test
