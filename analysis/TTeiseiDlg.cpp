#include "analysis/TTeiseiDlg.h"

namespace qor {

TTeiseiDlg::TTeiseiDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("TeiseiDlg"));
}

}  // namespace qor
