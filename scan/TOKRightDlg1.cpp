#include "scan/TOKRightDlg1.h"

namespace qor {

TOKRightDlg1::TOKRightDlg1(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("OKRightDlg1"));
}

}  // namespace qor
