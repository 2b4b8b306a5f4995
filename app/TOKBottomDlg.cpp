#include "app/TOKBottomDlg.h"

namespace qor {

TOKBottomDlg::TOKBottomDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("OKBottomDlg"));
}

}  // namespace qor
