#pragma once
// Smoothing dialog: an OK/Cancel dialog created at start-up and never shown. The smoothing
// command takes its filter and width from the analysis parameters dialog instead.

#include "app/TOKBottomDlg.h"

namespace qor {

class TSmoothDlg : public TOKBottomDlg {
    Q_OBJECT
public:
    TSmoothDlg(AppState& st, Services& svc, QWidget* parent);
};

}  // namespace qor
