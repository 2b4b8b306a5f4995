#pragma once
// A text box that holds no more than a file field takes: at most `limit` bytes once converted to
// Shift-JIS, never splitting a double-byte character. What the operator types or pastes past the
// limit is dropped as it arrives (the text before and after the cursor stays), so the box shows
// what will be saved while it is typed.

#include <QValidator>

namespace qor {

class SjisByteLimit : public QValidator {
public:
    SjisByteLimit(int limit, QObject* parent) : QValidator(parent), limit_(limit) {}

    void setLimit(int limit) { limit_ = limit; }
    int limit() const { return limit_; }

    // Drops the characters just before the cursor (the ones inserted last) until the text fits;
    // always Acceptable.
    State validate(QString& text, int& cursor) const override;

private:
    int limit_;
};

// The Shift-JIS size of a text in bytes.
int sjisSize(const QString& text);

}  // namespace qor
