#include "scan/TOKRightDlg1.h"

#include "app/Widgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qor {

void ClickImage::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) emit clicked();
    QLabel::mousePressEvent(e);
}

TOKRightDlg1::TOKRightDlg1(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    (void)st_;
    setObjectName(QStringLiteral("OKRightDlg1"));
    setWindowTitle(QStringLiteral("二次元スキャン自動測定開始の確認"));
    setModal(true);

    auto* frame = named(new QFrame(this), "Bevel1");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    Image2 = named(new ClickImage(frame), "Image2");
    Image2->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(48, 48));
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->setToolTip(QStringLiteral("説明を聞く (音声のみ)"));
    Label1 = makeLabel(frame, QStringLiteral("自動測定を開始します。"), "Label1");
    Label2 = makeLabel(frame, QStringLiteral("開始しますか?"), "Label2");
    auto* text = new QVBoxLayout;
    text->addStretch(1);
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch(1);
    auto* inside = new QHBoxLayout(frame);
    inside->addWidget(Image2, 0, Qt::AlignTop);
    inside->addSpacing(12);
    inside->addLayout(text, 1);
    frame->setMinimumWidth(300);

    addRightButtons(this, frame, OKBtn, CancelBtn);
    connect(Image2, &ClickImage::clicked, this, &TOKRightDlg1::Image2Click);
}

void TOKRightDlg1::Image2Click() { svc_.sounds.play(QStringLiteral("2dscanOKpeng.wav")); }

}  // namespace qor
