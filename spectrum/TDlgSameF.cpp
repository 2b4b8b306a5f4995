#include "spectrum/TDlgSameF.h"

#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace qor {

TDlgSameF::TDlgSameF(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    (void)st_;
    (void)svc_;
    setObjectName(QStringLiteral("DlgSameF"));
    setWindowTitle(QStringLiteral("Same name File !"));
    setModal(true);

    Image1 = named(new QLabel(this), "Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(48, 48));
    Label1 = makeLabel(this, QStringLiteral("Same name file exsit !"), "Label1");
    Label2 = makeLabel(this, QStringLiteral("Overwrite ?"), "Label2");
    QFont big = Label1->font();
    big.setBold(true);
    Label1->setFont(big);

    auto* text = new QVBoxLayout;
    text->addStretch(1);
    text->addWidget(Label1);
    text->addWidget(Label2);
    text->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);

    OKBtn = makeButton(this, "OKBtn", QStringLiteral("上書きする"));
    CancelBtn = makeButton(this, "CancelBtn", QStringLiteral("CANCEL"));
    OKBtn->setDefault(true);
    OKBtn->setMinimumWidth(96);
    CancelBtn->setMinimumWidth(96);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    buttons->addStretch(1);

    auto* outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addSpacing(8);
    outer->addLayout(buttons);
    setMinimumWidth(300);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace qor
