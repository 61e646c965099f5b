#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <thread>

class BusyPointer;
class CancelKey;
class PageStack;
class PictureView;
class Prompts;
class ViewerHost;

/// Thumbnail pages (`ThumbPic` with `Scrollthumb`): the pictures of a set 25 to a page,
/// the page bar, hover texts in the status bar, a left click that enlarges a picture
/// until the button is released and a right click that copies it. Drawn pages are kept
/// while the window lives (per page area). A page is drawn off the window's thread, the
/// window live meanwhile; Escape asks whether to stop it.
class ThumbnailView : public QWidget {
    Q_OBJECT
public:
    ThumbnailView(ViewerHost& host, PictureView& enlarger, Prompts& prompts, CancelKey& cancel,
                  QWidget* parent = nullptr);
    ~ThumbnailView() override;

    /// The picture set (`List1`), full paths in the order they are shown.
    void setPictures(const QStringList& paths);
    [[nodiscard]] const QStringList& pictures() const { return pictures_; }
    /// "TriggerThumNail": View starts a show of the set (with its message), Sizing
    /// draws the page shown again after a resize.
    enum class Trigger { View, Sizing };
    void TriggerThumbnail(Trigger trigger);
    /// Shows page `page` (0-based): at once when drawn before, else once drawn.
    void ShowThumbnailPage(int page);
    /// True while a page is being drawn.
    [[nodiscard]] bool drawing() const { return drawingPage_ >= 0; }

    [[nodiscard]] PageStack* pages() const { return pages_; }
    /// The index the mouse last pointed at (-1 over no picture).
    [[nodiscard]] int hoveredIndex() const { return hovered_; }

    // The mouse over the page, in page coordinates.
    void hover(QPoint at);
    void press(Qt::MouseButton button);
    void release();

Q_SIGNALS:
    /// Page `page` is on the screen, whole or as far as it got before Escape.
    void pageShown(int page);
    /// From the drawing thread: a page is drawn (or ended early).
    void pageReady(QPrivateSignal);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct PageJob;
    void startDrawing(int page, QSize area);
    void pageDrawn();
    /// Ends the page being drawn, if any; what it drew is not shown.
    void stopDrawing();
    void checkEscape();

    ViewerHost& host_;
    PictureView& enlarger_;
    Prompts& prompts_;
    CancelKey& cancel_;
    PageStack* pages_ = nullptr;
    QStringList pictures_;
    QHash<int, QImage> cache_;
    QSize cacheArea_;
    int hovered_ = -1;
    int drawingPage_ = -1;
    std::shared_ptr<PageJob> job_; ///< the page being drawn, shared with its thread
    std::unique_ptr<BusyPointer> busy_;
    QTimer escapeCheck_;
    /// The thread of the page asked for last; it waits for the one before it, so that
    /// one page is drawn at a time.
    std::thread drawer_;
};
