#include "view/picture/gui/ThumbnailView.h"

#include "controls/gui/PageStack.h"
#include "controls/gui/WindowGuards.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "view/ViewerHost.h"
#include "view/picture/PictureFile.h"
#include "view/picture/ThumbnailCache.h"
#include "view/picture/ThumbnailPages.h"
#include "view/picture/gui/PictureView.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScrollBar>

ThumbnailView::ThumbnailView(ViewerHost& host, PictureView& enlarger, Prompts& prompts,
                             CancelKey& cancel, QWidget* parent)
    : QWidget(parent), host_(host), enlarger_(enlarger), prompts_(prompts), cancel_(cancel),
      pages_(new PageStack(this))
{
    setObjectName(QStringLiteral("ThumbPic"));
    connect(pages_, &PageStack::pageChosen, this, [this](int page) {
        if (host_.viewMode() == ViewMode::Thumbnails)
            ShowThumbnailPage(page);
    });
    connect(pages_, &PageStack::mouseMoved, this, [this](QPoint at) { hover(at); });
    connect(pages_, &PageStack::mousePressed, this,
            [this](QPoint, Qt::MouseButton button) { press(button); });
    connect(pages_, &PageStack::mouseReleased, this, [this] { release(); });
}

void ThumbnailView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    pages_->setGeometry(rect());
}

void ThumbnailView::setPictures(const QStringList& paths)
{
    if (paths != pictures_)
        cache_.clear();
    pictures_ = paths;
}

void ThumbnailView::TriggerThumbnail(const QString& tag)
{
    if (tag == QLatin1String("SIZING")) {
        ShowThumbnailPage(pages_->page());
        pages_->scrollBar()->setEnabled(pages_->pageCount() > 1);
        return;
    }
    if (tag != QLatin1String("VIEW"))
        return;
    const int count = int(pictures_.size());
    if (count == 0) {
        prompts_.message(QStringLiteral("no pictures found"));
        return;
    }
    host_.setViewMode(ViewMode::Thumbnails);
    host_.setThumbPage(ThumbPage::Pictures);
    pages_->setPageCount(LastThumbnailPage(count) + 1);
    prompts_.message(ThumbnailShowMessage(count));
    ShowThumbnailPage(pages_->page());
}

QImage ThumbnailView::pageImage(int page, bool& complete)
{
    const QSize area = pages_->pageArea();
    if (area != cacheArea_) {
        cache_.clear();
        cacheArea_ = area;
    }
    if (const auto it = cache_.constFind(page); it != cache_.constEnd()) {
        complete = true;
        return *it;
    }
    complete = true;
    // Our working folder holds copies we made for ourselves: never worth a cache entry.
    const ThumbnailCache shared({}, {host_.settings().workFolder});
    const QImage image = DrawThumbnailPage(
        pictures_, page, area,
        [this, &complete] {
            if (EscapePressed(cancel_, prompts_))
                complete = false;
            return complete;
        },
        // The window keeps painting while the pictures decode.
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }, &shared);
    if (complete)
        cache_.insert(page, image);
    return image;
}

void ThumbnailView::ShowThumbnailPage(int page)
{
    BusyPointer busy;
    host_.CloseView();
    enlarger_.hideEnlarged();
    pages_->setPage(page);
    if (QWidget* canvas = parentWidget()) {
        canvas->show();
        canvas->raise();
    }
    show();
    raise();
    bool complete = true;
    pages_->showImage(pageImage(page, complete));
    host_.setThumbPage(ThumbPage::Pictures);
    host_.setViewMode(ViewMode::Thumbnails);
    hovered_ = -1;
}

void ThumbnailView::hover(QPoint at)
{
    if (host_.thumbPage() != ThumbPage::Pictures)
        return;
    const ThumbnailGeometry geometry(pages_->pageArea());
    const int index = geometry.indexAt(at, pages_->page());
    const int count = int(pictures_.size());
    if (index >= 0 && index <= count - 1) {
        hovered_ = index;
        host_.setPointedItem(pictures_[index]);
        host_.SetViewPath(pictures_[index]);
        host_.SetViewMessage(ThumbnailHoverText(index, count));
    } else {
        hovered_ = -1;
        host_.SetViewPath(QString());
        host_.SetViewMessage(QString());
    }
}

void ThumbnailView::press(Qt::MouseButton button)
{
    const QString path = host_.pointedItem();
    if (host_.thumbPage() != ThumbPage::Pictures || path.isEmpty())
        return;
    if (button == Qt::RightButton) {
        if (!prompts_.askYesNo(path + LineBreak +
                               QStringLiteral("copy to clipboard (use CTRL-V to paste)?")))
            return;
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setImage(LoadPicture(path));
        prompts_.message(path + LineBreak + QStringLiteral("copied, use CTRL-V to paste"));
    } else if (button == Qt::LeftButton) {
        const QImage picture = LoadPicture(path);
        if (!picture.isNull())
            enlarger_.showEnlarged(picture);
    }
}

void ThumbnailView::release()
{
    if (host_.viewMode() != ViewMode::Thumbnails || enlarger_.isHidden())
        return;
    enlarger_.hideEnlarged();
    raise();
}
