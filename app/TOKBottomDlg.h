#pragma once
// OK/Cancel dialog with its buttons at the bottom right: the base of the analysis dialogs
// (parameters, calibration, smoothing). A derived dialog puts its controls into body() and may
// put a picture at the bottom left (bottomLeft()). The instance OKBottomDlg of this class itself
// is created at start-up like the other dialogs but never shown.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

class QHBoxLayout;
class QPushButton;
class QVBoxLayout;

namespace qor {

class TOKBottomDlg : public QDialog {
    Q_OBJECT
public:
    TOKBottomDlg(AppState& st, Services& svc, QWidget* parent);

    QWidget* Body = nullptr;          // the client area above the button row
    QPushButton* OKBtn = nullptr;     // "OK", default button, confirms
    QPushButton* CancelBtn = nullptr; // "キャンセル", cancels

protected:
    // The layout of the client area, for the controls of a derived dialog.
    QVBoxLayout* body() const { return bodyLayout_; }
    // The left end of the button row (the buttons stay at the right).
    QHBoxLayout* bottomLeft() const { return bottomLeft_; }

    AppState& st_;
    Services& svc_;

private:
    QVBoxLayout* bodyLayout_ = nullptr;
    QHBoxLayout* bottomLeft_ = nullptr;
};

}  // namespace qor
