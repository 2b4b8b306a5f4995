#pragma once
// Analysis parameters dialog.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TTeiseiDlg : public QDialog {
    Q_OBJECT
public:
    TTeiseiDlg(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
