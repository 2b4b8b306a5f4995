#include "app/TOKBottomDlg.h"

#include "app/Widgets.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace qor {

TOKBottomDlg::TOKBottomDlg(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    setObjectName(QStringLiteral("OKBottomDlg"));
    setModal(true);

    auto* outer = new QVBoxLayout(this);
    Body = named(new QWidget(this), "Body");
    bodyLayout_ = new QVBoxLayout(Body);
    bodyLayout_->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(Body, 1);

    auto* row = new QHBoxLayout;
    bottomLeft_ = new QHBoxLayout;
    row->addLayout(bottomLeft_);
    row->addStretch(1);
    OKBtn = makeButton(this, "OKBtn", QStringLiteral("OK"));
    CancelBtn = makeButton(this, "CancelBtn", QStringLiteral("キャンセル"));
    OKBtn->setDefault(true);
    OKBtn->setMinimumWidth(88);
    CancelBtn->setMinimumWidth(88);
    row->addWidget(OKBtn);
    row->addWidget(CancelBtn);
    outer->addLayout(row);

    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace qor
