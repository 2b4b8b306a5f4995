#pragma once
// Execute confirmation of the energy calibration.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TOKRightDlg : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
