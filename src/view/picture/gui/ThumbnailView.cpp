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
#include <atomic>

namespace {
// How often a page being drawn looks for Escape.
constexpr int EscapeCheckMs = 50;
} // namespace

/// One page drawn on its thread. The picture passes by `done`, the thread's last write,
/// not inside the signal, so that the thread sanitizer sees the hand-over.
struct ThumbnailView::PageJob {
    QImage image;
    bool complete = true;
    std::atomic<bool> stop{false};
    std::atomic<bool> done{false};
};

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
    connect(this, &ThumbnailView::pageReady, this, &ThumbnailView::pageDrawn, Qt::QueuedConnection);
    escapeCheck_.setInterval(EscapeCheckMs);
    connect(&escapeCheck_, &QTimer::timeout, this, &ThumbnailView::checkEscape);
    // Another view taking the window ends the page being drawn.
    host_.whenViewEnds(this, [this] { stopDrawing(); });
}

ThumbnailView::~ThumbnailView()
{
    if (job_)
        job_->stop = true; // the page ends at its next picture
    if (drawer_.joinable())
        drawer_.join();
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
    auto job = std::make_shared<PageJob>();
    job_ = job;
    drawingPage_ = page;
    busy_ = std::make_unique<BusyPointer>();
    // A press made before the page began counts too: asked before the first picture.
    checkEscape();
    // Our working folder holds copies we made for ourselves: never worth a cache entry.
    const QString workFolder = host_.settings().workFolder;
    drawer_ = std::thread([this, previous = std::move(drawer_), job, paths = pictures_, page, area,
                           workFolder]() mutable {
        if (previous.joinable())
            previous.join(); // stopped already: it ends at its next picture
        const ThumbnailCache shared({}, {workFolder});
        const auto carryOn = [&job] {
            if (job->stop)
                job->complete = false;
            return job->complete;
        };
        // Waiting in steps lets a stop end a picture that never comes (a dead share).
        job->image = DrawThumbnailPage(
            paths, page, area, carryOn, [] {}, &shared);
        job->done.store(true, std::memory_order_release);
        Q_EMIT pageReady(QPrivateSignal());
    });
}

void ThumbnailView::stopDrawing()
{
    if (!drawing())
        return;
    job_->stop = true; // its page, if it still comes, is not shown
    job_.reset();
    escapeCheck_.stop();
    busy_.reset();
    drawingPage_ = -1;
}

void ThumbnailView::checkEscape()
{
    // The question may take a while: no second check meanwhile.
    escapeCheck_.stop();
    if (EscapeDelivered(cancel_, prompts_)) {
        if (job_)
            job_->stop = true; // the page ends at its next picture, keeping what is drawn
    } else if (drawing()) {
        escapeCheck_.start();
    }
}

void ThumbnailView::pageDrawn()
{
    // Pages stopped before they ended signal too: only the one being drawn counts.
    if (!drawing() || !job_->done.load(std::memory_order_acquire))
        return;
    const std::shared_ptr<PageJob> job = std::move(job_);
    const int page = drawingPage_;
    escapeCheck_.stop();
    busy_.reset();
    drawingPage_ = -1;
    if (job->complete)
        cache_.insert(page, job->image);
    pages_->showImage(job->image);
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
