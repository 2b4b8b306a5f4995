#pragma once
// Save-comment dialog of the binary spectrum file.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TOKRightDlg2 : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg2(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
