#pragma once
// Same-file-name confirmation when saving a spectrum.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

namespace qor {

class TDlgSameF : public QDialog {
    Q_OBJECT
public:
    TDlgSameF(AppState& st, Services& svc, QWidget* parent);

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
