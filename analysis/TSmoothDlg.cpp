#include "analysis/TSmoothDlg.h"

namespace qor {

TSmoothDlg::TSmoothDlg(AppState& st, Services& svc, QWidget* parent)
    : TOKBottomDlg(st, svc, parent) {
    setObjectName(QStringLiteral("SmoothDlg"));
    setWindowTitle(QStringLiteral("スムージング処理"));
}

}  // namespace qor
