#pragma once

#include <QImage>
#include <QMovie>
#include <QPointer>
#include <QWidget>

class QScrollBar;
class ViewerHost;

/// The single picture view (`FullPicture1` with `FullPicture2` inside, the scroll bars
/// `HscrollPic` and `VScrollPic`, and `pic2` holding a rotated picture): the picture at
/// natural size, scrolled by the bars, dragged with the right button, shrunk by a left
/// click, turned in steps of 90 degrees. Animated GIFs play.
class PictureView : public QWidget {
    Q_OBJECT
public:
    explicit PictureView(ViewerHost& host, QWidget* parent = nullptr);
    ~PictureView() override;

    /// Ends the current view and shows the picture: read from `path` when `load`, else
    /// the one already loaded laid out again. False when the picture cannot be read.
    bool ViewPicture(const QString& path, bool load);
    /// "Rotate right" / "Rotate left": change the angle and show the picture turned.
    void RotateRight();
    void RotateLeft();
    /// Shows the picture turned by the current angle; 0 shows it afresh.
    void ApplyRotation();
    /// Shows `picture` scaled to the whole area in front of everything (a thumbnail
    /// enlarged); hideEnlarged() takes it away.
    void showEnlarged(const QImage& picture);
    void hideEnlarged();

    [[nodiscard]] int rotationAngle() const { return rotationAngle_; }
    [[nodiscard]] const QString& picturePath() const { return path_; }
    /// The picture as loaded and where and how large it is drawn in the frame.
    [[nodiscard]] const QImage& picture() const { return picture_; }
    [[nodiscard]] QRect pictureRect() const { return QRect(offset_, shownSize_); }
    [[nodiscard]] QSize frameSize() const;
    /// The turned picture while the angle is not 0 (null otherwise).
    [[nodiscard]] const QImage& rotated() const { return rotated_; }
    [[nodiscard]] QScrollBar* horizontalBar() const { return hscroll_; }
    [[nodiscard]] QScrollBar* verticalBar() const { return vscroll_; }
    [[nodiscard]] bool animated() const { return movie_ != nullptr; }

    // The mouse over the frame, in frame coordinates.
    void rightPressed(QPoint at) { dragStart_ = at; }
    void rightDragged(QPoint at);
    void leftPressed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void layOut();
    void setScrollRanges();
    bool load(const QString& path);

    ViewerHost& host_;
    QScrollBar* hscroll_ = nullptr;
    QScrollBar* vscroll_ = nullptr;
    QString path_;
    QString problem_; ///< what the status bar says about the picture loaded
    QImage picture_;
    QImage rotated_;
    QImage enlarged_;
    QPointer<QMovie> movie_;
    QPoint offset_;
    QSize shownSize_;
    QPoint dragStart_;
    int rotationAngle_ = 0;
};
