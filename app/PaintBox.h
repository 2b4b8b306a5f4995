#pragma once
// A paint area: shows the picture last copied into it. Drawing happens off screen into a QImage
// (the back buffer); `showImage` copies it in one piece and schedules a repaint.

#include <QImage>
#include <QWidget>

namespace qor {

class PaintBox : public QWidget {
    Q_OBJECT
public:
    explicit PaintBox(QWidget* parent = nullptr);
    // Copies `img` into the shown picture (same size as the paint area) and repaints.
    void showImage(const QImage& img);
    const QImage& shownImage() const { return shown_; }

signals:
    void mousePressed(int x, int y, Qt::MouseButton button);
    void mouseDoubleClicked(int x, int y, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    QImage shown_;
};

}  // namespace qor
