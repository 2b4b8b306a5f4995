// The analysis commands of the MCA page's group "定性処理": thin handlers that read the shown
// slot, call the analysis logic, and show the result (ROIs, readout, messages, report, sounds).

#include "analysis/CalibRois.h"
#include "analysis/FitPeakCommands.h"
#include "analysis/PeakAnalysis.h"
#include "analysis/PeakReport.h"
#include "analysis/SlotIdentify.h"
#include "analysis/Smoothing.h"
#include "analysis/TOKRightDlg.h"
#include "analysis/TTeiseiDlg.h"
#include "analysis/TecalDlg.h"
#include "spectrum/McaPage.h"
#include "spectrum/SpectrumView.h"

#include <QDialog>
#include <QKeySequence>
#include <QShortcut>

namespace qor {

namespace {

const QString kNoPeak = QStringLiteral("ピークが見つからない！");

// The peak at the cursor with the search chosen in the program's settings.
bool nearestPeak(AppState& st, int s, double factor, bool setRoi) {
    const FitSearchSettings fit = FitSearchSettings::read(st.settings);
    AnalysisState& an = st.analysis;
    return fit.fit ? measureNearestFit(an.peaks, st.rec, st.spectrum, fit, s, factor, setRoi)
                   : measureNearestPeak(an.Merin, an.peaks, st.rec, st.spectrum, s, factor, setRoi);
}

}  // namespace

void McaPage::connectAnalysisHandlers() {
    connect(SpeedButton26, &QToolButton::clicked, this, &McaPage::SpeedButton26Click);
    connect(SpeedButton27, &QToolButton::clicked, this, &McaPage::SpeedButton27Click);
    connect(SpeedButton29, &QToolButton::clicked, this, &McaPage::SpeedButton29Click);
    connect(SpeedButton28, &QToolButton::clicked, this, &McaPage::SpeedButton28Click);
    connect(SpeedButton10, &QToolButton::clicked, this, &McaPage::SpeedButton10Click);
    connect(SpeedButton14, &QToolButton::clicked, this, &McaPage::SpeedButton14Click);
    connect(SpeedButton8, &QToolButton::clicked, this, &McaPage::SpeedButton8Click);
    connect(SpeedButton9, &QToolButton::clicked, this, &McaPage::SpeedButton9Click);
    connect(UndoAutoRoi, &QToolButton::clicked, this, &McaPage::UndoAutoRoiClick);
    auto* undo = new QShortcut(QKeySequence::Undo, this);
    undo->setContext(Qt::WidgetWithChildrenShortcut);
    connect(undo, &QShortcut::activated, this, &McaPage::UndoAutoRoiClick);
}

void McaPage::SpeedButton26Click() {
    const int s = viewSlot();
    AnalysisState& an = st().analysis;
    keepRoiTable(an.autoRoiUndo, rec(), st().spectrum, s);
    UndoAutoRoi->setEnabled(true);
    for (int r = 0; r < kRoiCount; ++r) rec().RoiStart[s][r] = rec().RoiEnd[s][r] = 0;
    showZeroRoiValues();
    ShowCurrentRoi();
    if (const FitSearchSettings fit = FitSearchSettings::read(st().settings); fit.fit)
        autoFitSearch(an.peaks, rec(), st().spectrum, fit, s);
    else
        autoPeakSearch(an.Merin, an.peaks, rec(), st().spectrum, s);
    identifySlot(st().lines, an.peaks, rec(), st().spectrum, s, PeakSource::Search);
    ShowCurrentRoi();   // the current ROI's new ends, not the zeros of the cleared table
    if (rec().PeakReportPrint == 1 && svc().printing.printerSetupDialog()) {
        std::unique_ptr<PrintCanvas> job = svc().printing.beginJob(QStringLiteral("Peak Report"));
        if (job)
            printPeakReport(*job, an.peaks, rec(), s, &st().lines);
        else
            svc().alerts.message(QStringLiteral("プリンタで印刷を開始できません。ピークレポートは印刷されませんでした。"));
    }
    svc().alerts.beep();
    DrawSpectrum();
}

void McaPage::UndoAutoRoiClick() {
    RoiTableBackup& kept = st().analysis.autoRoiUndo;
    const int slot = kept.slot;
    if (!restoreRoiTable(kept, rec(), st().spectrum)) {
        svc().alerts.status(QStringLiteral("元に戻すROI表はありません (「自」の後に一度だけ戻せます)"));
        return;
    }
    UndoAutoRoi->setEnabled(false);
    static const char* const kSlotNames[kSlotCount] = {"MCA1", "MCA2", "WORK"};
    svc().alerts.status(QStringLiteral("「自」の前のROI表に戻しました (%1)")
                            .arg(QString::fromLatin1(kSlotNames[clampSlot(slot)])));
    ShowCurrentRoi();
    DrawSpectrum();
}

void McaPage::SpeedButton27Click() {
    const int s = viewSlot();
    const double k = sigmaFactor(rec().SigmaIndex);
    if (!nearestPeak(st(), s, k, true))
        svc().alerts.message(kNoPeak);
    DrawSpectrum();
    ShowCurrentRoi();
}

void McaPage::SpeedButton29Click() {
    const int s = viewSlot();
    if (!nearestPeak(st(), s, 3.0, false)) {
        svc().alerts.message(kNoPeak);
        st().spectrum.PeakInfoVisible = 0;
    }
    DrawSpectrum();
    ShowCurrentRoi();
}

void McaPage::SpeedButton28Click() {
    AnalysisState& an = st().analysis;
    if (!smoothToWork(an.Merin, rec(), st().spectrum, viewSlot()))
        svc().alerts.message(QStringLiteral("Smoothing ERROR!"));
    svc().alerts.beep();
    DrawSpectrum();
}

void McaPage::SpeedButton10Click() {
    svc().sounds.play(QStringLiteral("ecalroicall.wav"));
    TOKRightDlg& d = *dlg().OKRightDlg;
    d.setLines(QStringLiteral("現在のROI#1..8 に記録されたエネルギー校正用の"),
               QStringLiteral("ROI領域を読み出しますか?"));
    if (svc().dialogs.exec(d) == QDialog::Accepted) recallCalibRois(rec(), viewSlot());
}

void McaPage::SpeedButton14Click() {
    svc().sounds.play(QStringLiteral("ecalroiset.wav"));
    TOKRightDlg& d = *dlg().OKRightDlg;
    d.setLines(QStringLiteral("現在のROI#1..8 を校正用のROI領域として"),
               QStringLiteral("記録しても良いですか?"));
    if (svc().dialogs.exec(d) == QDialog::Accepted) storeCalibRois(rec(), viewSlot());
}

void McaPage::SpeedButton8Click() {
    svc().sounds.play(QStringLiteral("ecalStart.wav"));
    TecalDlg& d = *dlg().ecalDlg;
    d.prepare(viewSlot());
    if (svc().dialogs.exec(d) != QDialog::Accepted) return;
    d.storeToRecord();
    DrawSpectrum();   // the cursor readout shows the new calibration at once
}

void McaPage::SpeedButton9Click() {
    if (rec().VoiceOn == 1) svc().sounds.play(QStringLiteral("calcsetup.wav"));
    TTeiseiDlg& d = *dlg().TeiseiDlg;
    d.loadFromRecord();
    if (svc().dialogs.exec(d) == QDialog::Accepted) d.storeToRecord();
}

}  // namespace qor
