#pragma once
// Confirmation before the 2D mapping scan starts. OK starts the scan, "キャンセル" does not;
// clicking the picture plays a sound cue.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>
#include <QLabel>

class QPushButton;

namespace qor {

// A picture that reports a click of the mouse.
class ClickImage : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;
};

class TOKRightDlg1 : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg1(AppState& st, Services& svc, QWidget* parent);

    // Click on the picture: plays "2dscanOKpeng.wav".
    void Image2Click();

    ClickImage* Image2 = nullptr;
    QLabel* Label1 = nullptr;   // "自動測定を開始します。"
    QLabel* Label2 = nullptr;   // "開始しますか?"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
