#include "spectrum/TOKRightDlg2.h"

#include "app/SjisLimit.h"
#include "app/TextCodec.h"
#include "app/Widgets.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace qor {

TOKRightDlg2::TOKRightDlg2(AppState& st, Services& svc, QWidget* parent)
    : QDialog(parent), st_(st), svc_(svc) {
    (void)svc_;
    setObjectName(QStringLiteral("OKRightDlg2"));
    setWindowTitle(QStringLiteral("保存スペクトルへのコメント"));
    setModal(true);

    auto* frame = named(new QFrame(this), "Bevel1");
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setFrameShadow(QFrame::Sunken);
    auto* text = new QVBoxLayout(frame);
    text->addWidget(makeLabel(frame, QStringLiteral("保存するデータにコメントを入力できます。")));
    text->addWidget(makeLabel(frame, QStringLiteral("バイナリ形式の場合は32文字までのコメント1行")));
    text->addWidget(makeLabel(frame, QStringLiteral("CSV形式の場合は、64文字でのコメントを、２行入力できます。")));
    text->addWidget(makeLabel(frame, QStringLiteral("半角文字のみで、入力してください。")));
    text->addSpacing(8);

    // The record fields hold 79 bytes and a NUL; a binary file keeps 31 of them.
    Edit1 = makeEdit(frame, "Edit1");
    Edit2 = makeEdit(frame, "Edit2");
    limit_ = new SjisByteLimit(kRecordCommentBytes, this);
    Edit1->setValidator(limit_);
    Edit2->setValidator(limit_);
    Edit1->setMinimumWidth(420);
    auto* lines = new QGridLayout;
    lines->addWidget(makeLabel(frame, QStringLiteral("コメント-1")), 0, 0);
    lines->addWidget(Edit1, 0, 1);
    lines->addWidget(makeLabel(frame, QStringLiteral("コメント-2")), 1, 0);
    lines->addWidget(Edit2, 1, 1);
    text->addLayout(lines);

    addRightButtons(this, frame, OKBtn, CancelBtn);
}

void TOKRightDlg2::setByteLimit(int bytes) { limit_->setLimit(bytes); }

void TOKRightDlg2::loadFromRecord() {
    for (auto [edit, field] : {std::pair{Edit1, st_.rec.SpectrumComment1},
                               std::pair{Edit2, st_.rec.SpectrumComment2}}) {
        QString text = fromSjis(field, kRecordCommentBytes + 1);
        int cursor = static_cast<int>(text.size());
        limit_->validate(text, cursor);   // shown as the file will keep it
        edit->setText(text);
    }
}

void TOKRightDlg2::storeToRecord() {
    storeSjis(st_.rec.SpectrumComment1, Edit1->text());
    storeSjis(st_.rec.SpectrumComment2, Edit2->text());
}

}  // namespace qor
