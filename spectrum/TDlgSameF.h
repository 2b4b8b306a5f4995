#pragma once
// Same-file-name confirmation: asked before a spectrum or ROI file overwrites an existing file.
// "上書きする" (default) confirms, "CANCEL" keeps the file.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qor {

class TDlgSameF : public QDialog {
    Q_OBJECT
public:
    TDlgSameF(AppState& st, Services& svc, QWidget* parent);

    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;   // "Same name file exsit !"
    QLabel* Label2 = nullptr;   // "Overwrite ?"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
