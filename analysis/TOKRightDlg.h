#pragma once
// Execute confirmation ("実行しますか?") of the calibration ROI commands: two text lines set by
// the caller, OK and Cancel at the right. OK confirms.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace qor {

class TOKRightDlg : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg(AppState& st, Services& svc, QWidget* parent);

    // Puts the question into the two text lines.
    void setLines(const QString& line1, const QString& line2);

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
