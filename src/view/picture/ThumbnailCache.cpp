#include "view/picture/ThumbnailCache.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/PrivateFolder.h"
#include "view/picture/PictureFile.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QStandardPaths>

namespace {

constexpr const char* UriKey = "Thumb::URI";
constexpr const char* MTimeKey = "Thumb::MTime";

QString defaultRoot()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/thumbnails");
}

const char* folderOf(ThumbnailCache::Flavor flavor)
{
    switch (flavor) {
    case ThumbnailCache::Flavor::Normal:
        return "normal";
    case ThumbnailCache::Flavor::Large:
        return "large";
    case ThumbnailCache::Flavor::XLarge:
        return "x-large";
    case ThumbnailCache::Flavor::XXLarge:
        break;
    }
    return "xx-large";
}

// Characters GLib leaves unescaped in the path of a file URI.
bool keptInUri(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    return QByteArrayView("!$&'()*+,-./:=@_~").contains(char(c));
}

// The file's modification time in whole seconds, as the cache keys it.
std::optional<QByteArray> modifiedSeconds(const QString& path)
{
    const std::optional<platform::FileEntry> entry = platform::statFile(path);
    if (!entry)
        return std::nullopt;
    const qint64 ms = entry->modifiedMs;
    const qint64 seconds = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    return QByteArray::number(seconds);
}

// New cache folders are private; folders already there are used as they are.
bool makeCacheFolder(const QString& folder)
{
    if (platform::isFolder(folder))
        return true;
    const QString parent = folder.left(folder.lastIndexOf(QLatin1Char('/')));
    if (!platform::isFolder(parent) && !makeCacheFolder(parent))
        return false;
    // Another thread may make it at the same moment.
    return platform::makeMissingFolder(folder) || platform::isFolder(folder);
}

bool inside(const QString& path, const QString& folder)
{
    if (folder.isEmpty())
        return false;
    const QString withSlash =
        folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(withSlash);
}

} // namespace

ThumbnailCache::ThumbnailCache(QString root, QStringList neverCached)
    : root_(root.isEmpty() ? defaultRoot() : std::move(root)), neverCached_(std::move(neverCached))
{}

ThumbnailCache::Flavor ThumbnailCache::flavorFor(QSize cell)
{
    const int longest = std::max(cell.width(), cell.height());
    for (Flavor f : {Flavor::Normal, Flavor::Large, Flavor::XLarge})
        if (longest <= pixelsOf(f))
            return f;
    return Flavor::XXLarge;
}

int ThumbnailCache::pixelsOf(Flavor flavor)
{
    switch (flavor) {
    case Flavor::Normal:
        return 128;
    case Flavor::Large:
        return 256;
    case Flavor::XLarge:
        return 512;
    case Flavor::XXLarge:
        break;
    }
    return 1024;
}

QByteArray ThumbnailCache::fileUri(const QString& path)
{
    const QByteArray bytes = platform::encodeFileName(QDir::cleanPath(path));
    QByteArray uri("file://");
    uri.reserve(uri.size() + bytes.size() * 3);
    static const char hex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptInUri(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

QString ThumbnailCache::thumbnailPath(const QString& path, Flavor flavor) const
{
    const QByteArray md5 = QCryptographicHash::hash(fileUri(path), QCryptographicHash::Md5).toHex();
    return root_ + QLatin1Char('/') + QLatin1String(folderOf(flavor)) + QLatin1Char('/') +
           QString::fromLatin1(md5) + QStringLiteral(".png");
}

bool ThumbnailCache::cacheable(const QString& path) const
{
    if (!QDir::isAbsolutePath(path) || inside(path, root_))
        return false;
    for (const QString& folder : neverCached_)
        if (inside(path, folder))
            return false;
    return true;
}

QImage ThumbnailCache::find(const QString& path, Flavor flavor) const
{
    if (!cacheable(path))
        return {};
    const std::optional<QByteArray> mtime = modifiedSeconds(path);
    if (!mtime)
        return {};
    // The image's own texts, not the reader's: the reader's key list cuts keys at "::".
    QImageReader reader(thumbnailPath(path, flavor), "png");
    const QImage stored = reader.read();
    if (stored.text(QLatin1String(UriKey)).toUtf8() != fileUri(path) ||
        stored.text(QLatin1String(MTimeKey)).toLatin1() != *mtime)
        return {};
    return stored;
}

bool ThumbnailCache::store(const QString& path, Flavor flavor, QImage thumbnail) const
{
    if (thumbnail.isNull() || !cacheable(path))
        return false;
    const std::optional<QByteArray> mtime = modifiedSeconds(path);
    if (!mtime)
        return false;
    const QString target = thumbnailPath(path, flavor);
    if (!makeCacheFolder(target.left(target.lastIndexOf(QLatin1Char('/')))))
        return false;
    thumbnail.setText(QLatin1String(UriKey), QString::fromLatin1(fileUri(path)));
    thumbnail.setText(QLatin1String(MTimeKey), QString::fromLatin1(*mtime));
    if (const std::optional<platform::FileEntry> entry = platform::statFile(path))
        thumbnail.setText(QStringLiteral("Thumb::Size"), QString::number(entry->size));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("Lumara"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "png").write(thumbnail))
        return false;
    platform::FileBeside beside(target);
    if (!beside.isOpen())
        return false;
    beside.setPermissionBits(0600);
    return beside.file().write(png) == png.size() && beside.commit();
}

QImage CachedThumbnail(const QString& path, QSize size, const ThumbnailCache& cache)
{
    if (size.isEmpty())
        return {};
    const ThumbnailCache::Flavor flavor = ThumbnailCache::flavorFor(size);
    QImage thumbnail = cache.find(path, flavor);
    if (thumbnail.isNull()) {
        const int side = ThumbnailCache::pixelsOf(flavor);
        thumbnail = LoadThumbnail(path, QSize(side, side), Qt::KeepAspectRatio);
        cache.store(path, flavor, thumbnail);
    }
    if (thumbnail.isNull() || thumbnail.size() == size)
        return thumbnail;
    return thumbnail.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
