#pragma once
// Save-comment dialog of the spectrum files: two comment lines offered from the record and
// taken back into it when the operator confirms. Shared by the binary and the CSV writer.

#include "app/AppState.h"
#include "app/Services.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace qor {

class TOKRightDlg2 : public QDialog {
    Q_OBJECT
public:
    TOKRightDlg2(AppState& st, Services& svc, QWidget* parent);

    // Edit1 and Edit2 from SpectrumComment1 and SpectrumComment2.
    void loadFromRecord();
    // The two texts back into SpectrumComment1 and SpectrumComment2 (the OK branch). A text
    // longer than its field is cut to 79 bytes on a character boundary.
    void storeToRecord();

    QLineEdit* Edit1 = nullptr;   // "コメント-1"
    QLineEdit* Edit2 = nullptr;   // "コメント-2"
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

private:
    AppState& st_;
    Services& svc_;
};

}  // namespace qor
