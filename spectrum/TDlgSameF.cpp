#include "spectrum/TDlgSameF.h"

namespace qor {

TDlgSameF::TDlgSameF(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("DlgSameF"));
}

}  // namespace qor
