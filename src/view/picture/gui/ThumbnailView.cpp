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
#include <QGuiApplication>
#include <QScrollBar>
#include <QtConcurrent>

namespace {
// How often a page being drawn looks for Escape.
constexpr int EscapeCheckMs = 50;
} // namespace

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
    drawer_.setMaxThreadCount(1);
    drawn_ = new QFutureWatcher<DrawnPage>(this);
    connect(drawn_, &QFutureWatcher<DrawnPage>::finished, this, &ThumbnailView::pageDrawn);
    escapeCheck_.setInterval(EscapeCheckMs);
    connect(&escapeCheck_, &QTimer::timeout, this, &ThumbnailView::checkEscape);
    // Another view taking the window ends the page being drawn.
    host_.whenViewEnds(this, [this] { stopDrawing(); });
}

ThumbnailView::~ThumbnailView()
{
    if (stop_)
        *stop_ = true; // the pool waits for the page, which now ends at its next picture
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

void ThumbnailView::TriggerThumbnail(Trigger trigger)
{
    if (trigger == Trigger::Sizing) {
        ShowThumbnailPage(pages_->page());
        pages_->scrollBar()->setEnabled(pages_->pageCount() > 1);
        return;
    }
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

void ThumbnailView::ShowThumbnailPage(int page)
{
    host_.CloseView(); // also ends a page still being drawn
    enlarger_.hideEnlarged();
    pages_->setPage(page);
    if (QWidget* canvas = parentWidget()) {
        canvas->show();
        canvas->raise();
    }
    show();
    raise();
    host_.setThumbPage(ThumbPage::Pictures);
    host_.setViewMode(ViewMode::Thumbnails);
    hovered_ = -1;
    const QSize area = pages_->pageArea();
    if (area != cacheArea_) {
        cache_.clear();
        cacheArea_ = area;
    }
    if (const auto it = cache_.constFind(page); it != cache_.constEnd()) {
        pages_->showImage(*it);
        Q_EMIT pageShown(page);
        return;
    }
    startDrawing(page, area);
}

void ThumbnailView::startDrawing(int page, QSize area)
{
    stopDrawing();
    auto stop = std::make_shared<std::atomic<bool>>(false);
    stop_ = stop;
    drawingPage_ = page;
    busy_ = std::make_unique<BusyPointer>();
    // Our working folder holds copies we made for ourselves: never worth a cache entry.
    const QString workFolder = host_.settings().workFolder;
    drawn_->setFuture(
        QtConcurrent::run(&drawer_, [paths = pictures_, page, area, workFolder, stop] {
            const ThumbnailCache shared({}, {workFolder});
            DrawnPage drawn;
            const auto carryOn = [&drawn, &stop] {
                if (*stop)
                    drawn.complete = false;
                return drawn.complete;
            };
            // Waiting in steps lets a stop end a picture that never comes (a dead share).
            drawn.image = DrawThumbnailPage(
                paths, page, area, carryOn, [] {}, &shared);
            return drawn;
        }));
    checkEscape(); // a press made before the page began counts too
}

void ThumbnailView::stopDrawing()
{
    if (!drawing())
        return;
    *stop_ = true;
    drawn_->cancel(); // its result, if it still comes, is not shown
    drawn_->setFuture(QFuture<DrawnPage>());
    escapeCheck_.stop();
    busy_.reset();
    drawingPage_ = -1;
}

void ThumbnailView::checkEscape()
{
    // The question may take a while: no second check meanwhile.
    escapeCheck_.stop();
    if (EscapeDelivered(cancel_, prompts_))
        *stop_ = true; // the page ends at its next picture, keeping what is drawn
    else if (drawing())
        escapeCheck_.start();
}

void ThumbnailView::pageDrawn()
{
    if (!drawing() || drawn_->isCanceled())
        return;
    const DrawnPage drawn = drawn_->result();
    const int page = drawingPage_;
    escapeCheck_.stop();
    busy_.reset();
    drawingPage_ = -1;
    if (drawn.complete)
        cache_.insert(page, drawn.image);
    pages_->showImage(drawn.image);
    Q_EMIT pageShown(page);
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
