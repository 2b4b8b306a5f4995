#pragma once
// A limit-switch lamp of a motor axis (the CCW and CW end-of-travel indicators): a small round
// image, lit red while the switch is active, dark otherwise.

#include <QLabel>

namespace qor {

class StageLamp : public QLabel {
    Q_OBJECT
public:
    StageLamp(QWidget* parent, const char* name, const QString& hint);
    void setLit(bool lit);
    bool isLit() const { return lit_; }

private:
    bool lit_ = false;
};

}  // namespace qor
