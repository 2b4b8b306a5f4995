#include "spectrum/TOKRightDlg2.h"

namespace qor {

TOKRightDlg2::TOKRightDlg2(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("OKRightDlg2"));
}

}  // namespace qor
