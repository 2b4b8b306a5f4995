#pragma once
// Energy calibration dialog.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TecalDlg : public QDialog {
    Q_OBJECT
public:
    TecalDlg(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
