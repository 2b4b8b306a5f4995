#include "analysis/TOKRightDlg.h"

#include "app/Widgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qor {

TOKRightDlg::TOKRightDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    (void)st_;
    (void)svc_;
    setObjectName(QStringLiteral("OKRightDlg"));
    setWindowTitle(QStringLiteral("実行しますか?"));
    setModal(true);

    auto* frame = named(new QFrame(this), "Bevel1");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    Label1 = makeLabel(frame, QString(), "Label1");
    Label2 = makeLabel(frame, QString(), "Label2");
    auto* text = new QVBoxLayout(frame);
    text->addStretch(1);
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch(1);
    frame->setMinimumWidth(340);

    addRightButtons(this, frame, OKBtn, CancelBtn);
}

void TOKRightDlg::setLines(const QString& line1, const QString& line2) {
    Label1->setText(line1);
    Label2->setText(line2);
}

}  // namespace qor
