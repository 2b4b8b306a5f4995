#pragma once
// The fitting search's part of the analysis parameters dialog: which search "自" and "近" use,
// whether the peak widths follow the resolution curve or each peak's own, and the operator's
// resolution curve (both boxes empty: fitted from the spectrum's isolated peaks).

#include "analysis/FitSearchSettings.h"

#include <QGroupBox>

class QLineEdit;

namespace qor {

class RadioGroup;

class FitSearchBox : public QGroupBox {
    Q_OBJECT
public:
    explicit FitSearchBox(QWidget* parent);

    void load(const FitSearchSettings& s);
    // The controls into `s`. The curve is the operator's when both boxes hold numbers that give
    // a width; anything else (empty boxes included) leaves it to the search.
    void store(FitSearchSettings& s) const;

    RadioGroup* SearchKind = nullptr;   // 0 the derivative-filter search, 1 the fitting search
    RadioGroup* WidthKind = nullptr;    // 0 tied to the resolution curve, 1 free per peak
    QLineEdit* CurveA = nullptr;
    QLineEdit* CurveB = nullptr;
};

}  // namespace qor
