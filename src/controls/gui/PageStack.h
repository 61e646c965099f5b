#pragma once

#include <QImage>
#include <QWidget>

class QScrollBar;

/// Pages drawn as pictures, one shown at a time, with a scroll bar at the right that
/// chooses the page (disabled when there is only one). The owner draws each page when
/// `pageChosen` asks for it and hands it over with showImage(). Mouse actions over the
/// page are passed on in page coordinates.
class PageStack : public QWidget {
    Q_OBJECT
public:
    explicit PageStack(QWidget* parent = nullptr);

    /// Sets the number of pages, back on page 0, without asking for a page.
    void setPageCount(int count);
    [[nodiscard]] int pageCount() const;
    [[nodiscard]] int page() const;
    /// Shows `page` (the scroll bar follows) without asking for it to be drawn.
    void setPage(int page);
    void showImage(const QImage& image);
    [[nodiscard]] const QImage& image() const { return image_; }
    /// The area the pages are drawn for: the widget less the scroll bar.
    [[nodiscard]] QSize pageArea() const;
    [[nodiscard]] QScrollBar* scrollBar() const { return bar_; }

Q_SIGNALS:
    /// The user chose another page with the scroll bar.
    void pageChosen(int page);
    void mouseMoved(QPoint point, Qt::MouseButtons buttons);
    void mousePressed(QPoint point, Qt::MouseButton button);
    void mouseReleased(QPoint point, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QScrollBar* bar_ = nullptr;
    QImage image_;
    bool quiet_ = false; ///< set while the page changes from code
};
