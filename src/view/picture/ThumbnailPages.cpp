#include "view/picture/ThumbnailPages.h"

#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/picture/PictureFile.h"
#include "view/picture/ThumbnailCache.h"

#include <QFuture>
#include <QPainter>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr int Columns = 5;
constexpr int CellLoss = 60; ///< twips taken off a fifth of the area
constexpr int Gap = 50;      ///< twips between and before the cells

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

    std::vector<QFuture<QImage>> decoded;
    decoded.reserve(std::size_t(last - first));
    for (qsizetype i = first; i < last; ++i)
        decoded.push_back(
            load    ? QtConcurrent::run(load, paths[i], thumb)
            : cache ? QtConcurrent::run(CachedThumbnail, paths[i], thumb, *cache)
                    : QtConcurrent::run(LoadThumbnail, paths[i], thumb, Qt::IgnoreAspectRatio));

    QPainter painter(&canvas);
    painter.setPen(Qt::black);
    for (qsizetype i = first; i < last; ++i) {
        if (carryOn && !carryOn())
            break;
        QFuture<QImage>& future = decoded[std::size_t(i - first)];
        if (waiting) {
            // A picture on a slow or dead share may never come: the cancel check is
            // asked again every ~50 ms while it is awaited.
            bool stopped = false;
            for (int turn = 1; !future.isFinished(); ++turn) {
                waiting();
                QThread::msleep(2);
                if (turn % 25 == 0 && carryOn && !future.isFinished() && !carryOn()) {
                    stopped = true;
                    break;
                }
            }
            if (stopped)
                break;
        }
        const QImage picture = future.result();
        const QRect cell = geometry.cell(int(i - first) + 1);
        if (picture.isNull())
            continue; // an unreadable picture leaves its cell empty
        painter.drawImage(cell, picture);
        painter.drawRect(cell);
    }
    return canvas;
}
