#include "analysis/TecalDlg.h"

namespace qor {

TecalDlg::TecalDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("ecalDlg"));
}

}  // namespace qor
