#include "analysis/TOKRightDlg.h"

namespace qor {

TOKRightDlg::TOKRightDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("OKRightDlg"));
}

}  // namespace qor
