#pragma once
// Analysis parameters dialog: the settings of the peak search and of the smoothing. It keeps no
// values of its own: the caller loads it from the record before showing it and stores it back
// only when the operator confirms with OK.

#include "app/TOKBottomDlg.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace qor {

class FitSearchBox;
class RadioGroup;

class TTeiseiDlg : public TOKBottomDlg {
    Q_OBJECT
public:
    TTeiseiDlg(AppState& st, Services& svc, QWidget* parent);

    // Sets every control from its record field.
    void loadFromRecord();
    // Writes the five item indexes and the three numbers back (the OK branch), and the search
    // kind into the program's settings. An integer box
    // whose text does not start with a number leaves its field as it was; a group without a
    // selected item (possible only after a field held an index outside its items) likewise.
    void storeToRecord();

    // Peak search and automatic ROI.
    QGroupBox* GroupBox2 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;   // peak width class       -> PeakWidthIndex
    RadioGroup* RadioGroup2 = nullptr;   // derivative filter      -> DerivFilterIndex
    RadioGroup* RadioGroup3 = nullptr;   // significance criterion -> SigmaIndex
    QLineEdit* Edit1 = nullptr;          // derivative points      -> DerivPoints
    QLineEdit* Edit3 = nullptr;          // expected FWHM, ch      -> ExpectedFwhm
    FitSearchBox* FitBox = nullptr;      // the search kind: the program's settings file

    // Smoothing.
    QGroupBox* GroupBox3 = nullptr;
    RadioGroup* RadioGroup6 = nullptr;   // peak kind: shown only, neither loaded nor stored
    RadioGroup* RadioGroup4 = nullptr;   // filter                 -> SmoothFilter
    RadioGroup* RadioGroup5 = nullptr;   // points 5, 7, 9         -> SmoothPointsIndex
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit2 = nullptr;          // moving-average points  -> SmoothAveragePoints

    QLabel* Image1 = nullptr;            // the small picture at the bottom left
};

}  // namespace qor
