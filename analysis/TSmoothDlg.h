#pragma once
// Smoothing dialog (created at start, never shown).

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TSmoothDlg : public QDialog {
    Q_OBJECT
public:
    TSmoothDlg(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
