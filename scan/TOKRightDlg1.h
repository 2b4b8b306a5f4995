#pragma once
// 2D scan start confirmation.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TOKRightDlg1 : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg1(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
