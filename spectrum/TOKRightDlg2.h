#pragma once
// Save-comment dialog of the spectrum files: two comment lines offered from the record and
// taken back into it when the operator confirms. Shared by the binary and the CSV writer.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qor {

class SjisByteLimit;

class TOKRightDlg2 : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg2(AppState& st, Services& svc, QWidget* parent);

    static constexpr int kRecordCommentBytes = 79;   // SpectrumComment1/2 without the NUL

    // The most Shift-JIS bytes each box takes (the record's 79 until set): what the file about
    // to be written keeps of a comment.
    void setByteLimit(int bytes);
    // Edit1 and Edit2 from SpectrumComment1 and SpectrumComment2, cut to the limit.
    void loadFromRecord();
    // The two texts back into SpectrumComment1 and SpectrumComment2 (the OK branch). A text
    // longer than its field is cut to 79 bytes on a character boundary.
    void storeToRecord();

    QLineEdit* Edit1 = nullptr;   // "コメント-1"
    QLineEdit* Edit2 = nullptr;   // "コメント-2"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    SjisByteLimit* limit_ = nullptr;
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
