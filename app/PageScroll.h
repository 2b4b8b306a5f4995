#pragma once
// A tab page inside a scroll area. The pages are made for the window's design size: where the
// window is smaller, the page keeps the size it has at the design size (the tab's present area
// plus the window's shortfall) and scrolls; where the window is as large or larger, the page
// fills the tab as it would without the scroll area (no frame, no margin, no scroll bar), also
// where its layout would like more.

#include <QScrollArea>
#include <QSize>

namespace qor {

class PageScroll : public QScrollArea {
    Q_OBJECT
public:
    explicit PageScroll(QWidget* page, QWidget* parent = nullptr);

    // The window's shortfall against the design size (0 where it is as large or larger).
    void setShortfall(QSize shortfall);
    QWidget* page() const { return page_; }

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void applyFloor();

    QWidget* page_;
    QSize shortfall_{0, 0};
};

}  // namespace qor
