#pragma once

#include <QImage>
#include <QWidget>

class QScrollBar;

/// An icon page on screen: the drawn page with the page bar `Scrollthumb` at its
/// right. Reports hovers and right-button releases in page pixels.
class IconPageWidget : public QWidget {
    Q_OBJECT
public:
    explicit IconPageWidget(QWidget* parent = nullptr);

    void setPage(const QImage& page);
    [[nodiscard]] const QImage& page() const { return page_; }
    /// `Scrollthumb`: its value is the page shown.
    [[nodiscard]] QScrollBar* scrollThumb() const { return scrollThumb_; }
    /// The size a page is drawn at (the widget less the page bar).
    [[nodiscard]] QSize pageSize() const;

Q_SIGNALS:
    void hovered(QPoint pixel);
    void rightReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage page_;
    QScrollBar* scrollThumb_ = nullptr;
};
