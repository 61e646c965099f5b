#include "view/picture/ThumbnailPages.h"

#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/picture/PictureFile.h"
#include "view/picture/ThumbnailCache.h"

#include <QPainter>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace {

constexpr int Columns = 5;
constexpr int CellLoss = 60; ///< twips taken off a fifth of the area
constexpr int Gap = 50;      ///< twips between and before the cells
// While a picture is awaited with a `waiting` step: the pause between steps, and how
// many steps between two cancel checks (~50 ms).
constexpr auto WaitingTurn = std::chrono::milliseconds(2);
constexpr int TurnsPerCheck = 25;

using Decoder = std::function<QImage(const QString& path, QSize size)>;

/// The decoding threads still alive in the process: a page leaves them behind when it
/// ends early, and the program must not end under one that is still decoding.
class LiveDecoders {
public:
    static LiveDecoders& get()
    {
        // Never destroyed: a thread left behind may still be ending while the program does.
        static LiveDecoders* const live = new LiveDecoders;
        return *live;
    }
    void add(int count)
    {
        const std::lock_guard lock(mutex_);
        running_ += count;
    }
    void remove()
    {
        const std::lock_guard lock(mutex_);
        if (--running_ == 0)
            none_.notify_all();
    }
    bool waitForNone(std::chrono::milliseconds most)
    {
        std::unique_lock lock(mutex_);
        return none_.wait_for(lock, most, [this] { return running_ == 0; });
    }

private:
    std::mutex mutex_;
    std::condition_variable none_;
    int running_ = 0;
};

/// A page's pictures decoding on threads of their own, claimed in page order. The
/// threads are not waited for: a picture on a dead share may never come, and the page
/// must be able to end without it. Whatever they share lives here, kept by each of them;
/// the pictures pass under the lock.
class PageDecode {
public:
    PageDecode(QStringList paths, QSize size, Decoder decode)
        : paths_(std::move(paths)), size_(size), decode_(std::move(decode)),
          pictures_(std::size_t(paths_.size()))
    {}

    static std::shared_ptr<PageDecode> start(QStringList paths, QSize size, Decoder decode)
    {
        auto page = std::make_shared<PageDecode>(std::move(paths), size, std::move(decode));
        const auto threads =
            std::min<qsizetype>(std::max(1, QThread::idealThreadCount()), page->paths_.size());
        LiveDecoders::get().add(int(threads));
        for (qsizetype t = 0; t < threads; ++t) {
            std::thread([page]() mutable {
                page->work();
                page.reset(); // its pictures and paths go before the thread counts as ended
                LiveDecoders::get().remove();
            }).detach();
        }
        return page;
    }

    /// Picture `i`; with `waiting`, stepped as described for DrawThumbnailPage, nothing
    /// once `carryOn` says stop.
    std::optional<QImage> take(std::size_t i, const std::function<bool()>& carryOn,
                               const std::function<void()>& waiting)
    {
        std::unique_lock lock(mutex_);
        const auto arrived = [this, i] { return pictures_[i].has_value(); };
        if (!waiting)
            decoded_.wait(lock, arrived);
        for (int turn = 1; !arrived(); ++turn) {
            lock.unlock();
            waiting();
            lock.lock();
            if (decoded_.wait_for(lock, WaitingTurn, arrived))
                break;
            if (turn % TurnsPerCheck == 0 && carryOn) {
                lock.unlock();
                const bool goOn = carryOn();
                lock.lock();
                if (!goOn && !arrived())
                    return std::nullopt;
            }
        }
        return std::move(pictures_[i]);
    }

    /// No more pictures are started; those under way end into nothing.
    void end()
    {
        const std::lock_guard lock(mutex_);
        next_ = pictures_.size();
    }

private:
    void work()
    {
        std::unique_lock lock(mutex_);
        while (next_ < pictures_.size()) {
            const std::size_t i = next_++;
            lock.unlock();
            QImage picture = decode_(paths_[qsizetype(i)], size_);
            lock.lock();
            pictures_[i] = std::move(picture);
            decoded_.notify_all();
        }
    }

    const QStringList paths_;
    const QSize size_;
    const Decoder decode_;
    std::mutex mutex_;
    std::condition_variable decoded_;
    std::vector<std::optional<QImage>> pictures_;
    std::size_t next_ = 0; ///< the first picture no thread has claimed
};

} // namespace

int LastThumbnailPage(int count)
{
    return count <= 0 ? 0 : (count - 1) / PicturesPerPage;
}

QString ThumbnailShowMessage(int count)
{
    return NumText(count) + QStringLiteral(" pictures") + LineBreak +
           NumText(LastThumbnailPage(count) + 1) + QStringLiteral(" pages");
}

QString ThumbnailHoverText(int index, int count)
{
    return QStringLiteral("picture") + NumText(index + 1) + QStringLiteral(" of") + NumText(count);
}

ThumbnailGeometry::ThumbnailGeometry(QSize area, double twipsPerPixel)
    : twipsPerPixel_(twipsPerPixel),
      width_(static_cast<int>(area.width() * twipsPerPixel) / Columns - CellLoss),
      height_(static_cast<int>(area.height() * twipsPerPixel) / Columns - CellLoss)
{}

QSize ThumbnailGeometry::thumbnailSize() const
{
    return QSize(std::max(1, static_cast<int>(width_ / twipsPerPixel_)),
                 std::max(1, static_cast<int>(height_ / twipsPerPixel_)));
}

QRect ThumbnailGeometry::cell(int k) const
{
    const int row = (k - 1) / Columns;
    const int column = (k - 1) - Columns * row;
    const int x = Gap + column * (width_ + Gap);
    const int y = Gap + row * (height_ + Gap);
    return QRect(QPoint(static_cast<int>(std::lround(x / twipsPerPixel_)),
                        static_cast<int>(std::lround(y / twipsPerPixel_))),
                 thumbnailSize());
}

int ThumbnailGeometry::indexAt(QPoint point, int page) const
{
    const double x = point.x() * twipsPerPixel_;
    const double y = point.y() * twipsPerPixel_;
    const int column = static_cast<int>(x / (width_ + CellLoss));
    const int row = static_cast<int>(y / (height_ + CellLoss));
    if (column >= Columns || row >= Columns || x < 0 || y < 0)
        return -1;
    return page * PicturesPerPage + row * Columns + column;
}

QImage DrawThumbnailPage(const QStringList& paths, int page, QSize area,
                         const std::function<bool()>& carryOn, const std::function<void()>& waiting,
                         const ThumbnailCache* cache, double twipsPerPixel,
                         const std::function<QImage(const QString& path, QSize size)>& load)
{
    QImage canvas(area.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const ThumbnailGeometry geometry(area, twipsPerPixel);
    const QSize thumb = geometry.thumbnailSize();
    const qsizetype first = qsizetype(page) * PicturesPerPage;
    const qsizetype last = std::min<qsizetype>(first + PicturesPerPage, paths.size());
    if (first < 0 || first >= last)
        return canvas;

    Decoder decode = load;
    if (!decode && cache)
        decode = [cache = *cache](const QString& path, QSize size) {
            return CachedThumbnail(path, size, cache);
        };
    if (!decode)
        decode = [](const QString& path, QSize size) {
            return LoadThumbnail(path, size, Qt::IgnoreAspectRatio);
        };
    const std::shared_ptr<PageDecode> decoded =
        PageDecode::start(paths.mid(first, last - first), thumb, std::move(decode));

    QPainter painter(&canvas);
    painter.setPen(Qt::black);
    for (qsizetype i = first; i < last; ++i) {
        if (carryOn && !carryOn())
            break;
        // A picture on a slow or dead share may never come: with `waiting`, the cancel
        // check is asked again every ~50 ms while it is awaited.
        const std::optional<QImage> picture =
            decoded->take(std::size_t(i - first), carryOn, waiting);
        if (!picture)
            break;
        const QRect cell = geometry.cell(int(i - first) + 1);
        if (picture->isNull())
            continue; // an unreadable picture leaves its cell empty
        painter.drawImage(cell, *picture);
        painter.drawRect(cell);
    }
    decoded->end();
    return canvas;
}

bool WaitForThumbnailDecoders(std::chrono::milliseconds most)
{
    return LiveDecoders::get().waitForNone(most);
}
