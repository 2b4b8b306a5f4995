#pragma once
// OK/Cancel dialog, the base of the analysis dialogs.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    TOKBottomDlg(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
