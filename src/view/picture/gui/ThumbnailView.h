#pragma once

#include <QHash>
#include <QImage>
#include <QStringList>
#include <QWidget>

class CancelKey;
class PageStack;
class PictureView;
class Prompts;
class ViewerHost;

/// Thumbnail pages (`ThumbPic` with `Scrollthumb`): the pictures of a set 25 to a page,
/// the page bar, hover texts in the status bar, a left click that enlarges a picture
/// until the button is released and a right click that copies it. Drawn pages are kept
/// while the window lives (per page area).
class ThumbnailView : public QWidget {
    Q_OBJECT
public:
    ThumbnailView(ViewerHost& host, PictureView& enlarger, Prompts& prompts, CancelKey& cancel,
                  QWidget* parent = nullptr);

    /// The picture set (`List1`), full paths in the order they are shown.
    void setPictures(const QStringList& paths);
    [[nodiscard]] const QStringList& pictures() const { return pictures_; }
    /// "TriggerThumNail": "VIEW" starts a show of the set (with its message), "SIZING"
    /// draws the page shown again after a resize; other tags do nothing.
    void TriggerThumbnail(const QString& tag);
    /// Draws page `page` (0-based) and shows it.
    void ShowThumbnailPage(int page);

    [[nodiscard]] PageStack* pages() const { return pages_; }
    /// The index the mouse last pointed at (-1 over no picture).
    [[nodiscard]] int hoveredIndex() const { return hovered_; }

    // The mouse over the page, in page coordinates.
    void hover(QPoint at);
    void press(Qt::MouseButton button);
    void release();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QImage pageImage(int page, bool& complete);

    ViewerHost& host_;
    PictureView& enlarger_;
    Prompts& prompts_;
    CancelKey& cancel_;
    PageStack* pages_ = nullptr;
    QStringList pictures_;
    QHash<int, QImage> cache_;
    QSize cacheArea_;
    int hovered_ = -1;
};
