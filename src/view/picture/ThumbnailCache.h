#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

/// The desktop's shared thumbnail cache ($XDG_CACHE_HOME/thumbnails), read and written
/// the way other file managers do: a PNG per file named by the MD5 of the file's URI,
/// valid while its Thumb::URI and Thumb::MTime keys still match the file. Holds no state
/// beyond its folders, so one object may serve several threads at once.
class ThumbnailCache {
public:
    /// The cache's size classes: the longest side of a thumbnail in each.
    enum class Flavor { Normal, Large, XLarge, XXLarge };

    /// `root` is the cache folder ("" for the desktop's own); files inside the root or
    /// inside any of `neverCached` (our working folder, say) are never cached.
    explicit ThumbnailCache(QString root = {}, QStringList neverCached = {});

    /// The smallest flavor whose thumbnails cover `cell` without enlarging.
    [[nodiscard]] static Flavor flavorFor(QSize cell);
    /// The longest side of a thumbnail of `flavor`, in pixels.
    [[nodiscard]] static int pixelsOf(Flavor flavor);
    /// The file's URI as the cache keys it: file:// and the path's bytes, escaped as GLib
    /// escapes them.
    [[nodiscard]] static QByteArray fileUri(const QString& path);

    [[nodiscard]] QString root() const { return root_; }
    /// Where the thumbnail of `path` in `flavor` lives.
    [[nodiscard]] QString thumbnailPath(const QString& path, Flavor flavor) const;
    /// False for files the cache must not hold (see the constructor) and non-local paths.
    [[nodiscard]] bool cacheable(const QString& path) const;
    /// The stored thumbnail of `path` when it is there and still describes the file;
    /// a null image otherwise.
    [[nodiscard]] QImage find(const QString& path, Flavor flavor) const;
    /// Stores `thumbnail` (already at the flavor's size) for `path`, with the keys that
    /// tie it to the file's URI and modification time, readable by the user alone.
    /// False when nothing was stored.
    bool store(const QString& path, Flavor flavor, QImage thumbnail) const;

private:
    QString root_;
    QStringList neverCached_;
};

/// The thumbnail of `path` for a cell of `size`, stretched to it as the thumbnail pages
/// show pictures: taken from `cache` when it holds a valid one, else decoded at the
/// cache's size, stored, and stretched. A null image when the file cannot be read.
[[nodiscard]] QImage CachedThumbnail(const QString& path, QSize size, const ThumbnailCache& cache);
