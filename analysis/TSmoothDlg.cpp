#include "analysis/TSmoothDlg.h"

namespace qor {

TSmoothDlg::TSmoothDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("SmoothDlg"));
}

}  // namespace qor
