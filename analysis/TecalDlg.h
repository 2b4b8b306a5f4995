#pragma once
// Energy calibration dialog: for ROI 1..8 of the shown slot a check box, the reference channel
// of the ROI's peak and the known energy; the order of the calibration polynomial, the unit,
// the computed coefficients a..d and a plot area. An OK/Cancel dialog; the caller prepares it
// for a slot, shows it, and stores it into that slot on OK.

#include "analysis/Merincalc.h"
#include "app/TOKBottomDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

class QMenu;

namespace qor {

class PaintBox;
class RadioGroup;

class TecalDlg : public TOKBottomDlg {
    Q_OBJECT
public:
    TecalDlg(AppState& st, Services& svc, QWidget* parent);

    static constexpr int kRows = 8;       // ROI 1..8
    static constexpr int kPlotSize = 258; // Imageecal, square

    // Fills the dialog for spectrum slot `slot` (0..2): the reference channel of ROI k of the
    // slot's counts in row k (its box checked exactly when the channel is not 0), the stored
    // energies ("%10.3lf"), the order, the unit and the slot's coefficients. The slot's stored
    // coefficients also become the dialog's computed ones, so that OK without a new computation
    // keeps the slot's calibration. Returns false (and changes nothing) for another slot.
    bool prepare(int slot);
    // The OK branch: stores the energies (a box whose text is not a number keeps its energy),
    // the unit (cut to fit its field), the order (unless no item is selected) and the computed
    // coefficients into the slot last prepared. Returns false when no slot was prepared.
    bool storeToRecord();
    int preparedSlot() const { return slot_; }

    // Computes the coefficients: a least-squares polynomial of the order chosen in RadioGroup1
    // through the checked rows (reference channel, the energy now in the row's box; a box whose
    // text is not a number gives the energy the dialog was prepared with), shown in
    // Edit10..Edit13 and kept as the computed a..d; the plot shows the points, the curve and
    // each point's residual in eV. A fit the engine refuses (fewer
    // distinct channels than coefficients, or a value that is not finite) is reported with
    // kFitRefusedText and changes neither the boxes nor the computed values.
    void Button1Click();
    static const char* const kFitRefusedText;

    // Fills the energy box of row k with a line's energy (keV), in the dialog's unit.
    void fillRowFromLine(int k, double energyKeV);

    // Row controls by ROI number k = 1..8 (nullptr outside).
    QCheckBox* rowCheck(int k) const;
    QLabel* rowChannel(int k) const;
    QLineEdit* rowEnergy(int k) const;

    QGroupBox* GroupBox1 = nullptr;   // "ROI#1..8のエネルギー指定"
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QCheckBox* CheckBox4 = nullptr;
    QCheckBox* CheckBox5 = nullptr;
    QCheckBox* CheckBox6 = nullptr;
    QCheckBox* CheckBox7 = nullptr;
    QCheckBox* CheckBox8 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QLineEdit* Edit6 = nullptr;
    QLineEdit* Edit7 = nullptr;
    QLineEdit* Edit8 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;   // "校正式": linear, quadratic, cubic
    QLineEdit* Edit9 = nullptr;          // energy unit
    QPushButton* Button1 = nullptr;      // compute the coefficients
    QLineEdit* Edit10 = nullptr;         // a
    QLineEdit* Edit11 = nullptr;         // b
    QLineEdit* Edit12 = nullptr;         // c
    QLineEdit* Edit13 = nullptr;         // d
    PaintBox* Imageecal = nullptr;

    // Values kept by the dialog between openings.
    int32_t RefChannel[kRows + 1] = {};  // reference channel of ROI k (index 1..8)
    double RefEnergy[kRows + 1] = {};    // energy of ROI k when the dialog was prepared
    double ComputedA = 0.0, ComputedB = 0.0, ComputedC = 0.0, ComputedD = 0.0;
    double FitX[16] = {};                // channel/energy pairs of the last computation
    double FitY[16] = {};

private:
    CMerinCalcc Merin;   // this dialog's handle on the analysis engine
    QCheckBox* checks_[kRows] = {};
    QLabel* channels_[kRows] = {};
    QLineEdit* energies_[kRows] = {};
    QToolButton* lineButtons_[kRows] = {};
    // The menu of element and radionuclide lines of row k.
    QMenu* lineMenu(int k);
    int slot_ = -1;
};

}  // namespace qor
