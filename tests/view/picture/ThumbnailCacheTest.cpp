#include "view/picture/ThumbnailCache.h"

#include "common/RunTool.h"
#include "common/TempTree.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "view/picture/ThumbnailPages.h"

#include <QBuffer>
#include <QDateTime>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

QByteArray png(QSize size, Qt::GlobalColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QColor centre(const QImage& image)
{
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

} // namespace

TEST(ThumbnailCache, NamesThumbnailsByTheUriAsGlibWritesIt)
{
    // The thumbnail standard's own example.
    const ThumbnailCache cache(QStringLiteral("/c"));
    EXPECT_EQ(cache.thumbnailPath(QStringLiteral("/home/jens/photos/me.png"),
                                  ThumbnailCache::Flavor::Normal),
              QStringLiteral("/c/normal/c6ee772d9e49320e97ec29a7eb5b1697.png"));
    EXPECT_EQ(ThumbnailCache::fileUri(QStringLiteral("/tmp/a b;#%\u00e9/f'(1)+=@,&$!~.png")),
              QByteArray("file:///tmp/a%20b%3B%23%25%C3%A9/f'(1)+=@,&$!~.png"));
    // A byte that is not UTF-8 is escaped as the byte itself.
    EXPECT_EQ(ThumbnailCache::fileUri(platform::decodeFileName("/x/\xff.png")),
              QByteArray("file:///x/%FF.png"));

    // Where GLib's own tools are at hand, they must agree on a name full of odd characters.
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return;
    TempTree tree;
    const QString odd = tree.file(QStringLiteral("a b;#%[\u00e9]'(1)+=@,&$!~^`{|}\"<>?.png"), 1);
    const ToolRun info = RunTool(
        gio, {QStringLiteral("info"), QStringLiteral("-a"), QStringLiteral("standard::name"), odd});
    ASSERT_TRUE(info.exitCode);
    const QByteArray printed = info.output;
    const qsizetype at = printed.indexOf("uri: ");
    ASSERT_GE(at, 0) << printed.constData();
    const QByteArray uri = printed.mid(at + 5, printed.indexOf('\n', at) - at - 5);
    EXPECT_EQ(ThumbnailCache::fileUri(odd), uri);
}

TEST(ThumbnailCache, PicksTheSmallestSizeThatCoversACell)
{
    using F = ThumbnailCache::Flavor;
    EXPECT_EQ(ThumbnailCache::flavorFor(QSize(128, 90)), F::Normal);
    EXPECT_EQ(ThumbnailCache::flavorFor(QSize(100, 129)), F::Large);
    EXPECT_EQ(ThumbnailCache::flavorFor(QSize(300, 190)), F::XLarge);
    EXPECT_EQ(ThumbnailCache::flavorFor(QSize(1500, 900)), F::XXLarge);
}

TEST(ThumbnailCache, StoresAThumbnailOthersAcceptAndReadsItBackWhileTheFileIsUnchanged)
{
    TempTree tree;
    const ThumbnailCache cache(tree.path(QStringLiteral("cache/thumbnails")));
    const QString picture = tree.file(QStringLiteral("photo.png"), png(QSize(400, 200), Qt::red));
    tree.setModified(QStringLiteral("photo.png"),
                     QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC));

    const QImage first = CachedThumbnail(picture, QSize(200, 150), cache);
    EXPECT_EQ(first.size(), QSize(200, 150));
    EXPECT_EQ(centre(first), QColor(Qt::red));

    // Stored at the cache's size, proportions kept, with the keys the standard asks for.
    const QString stored = cache.thumbnailPath(picture, ThumbnailCache::Flavor::Large);
    const QImage written(stored);
    EXPECT_EQ(written.size(), QSize(256, 128));
    EXPECT_EQ(written.text(QStringLiteral("Thumb::URI")).toUtf8(),
              ThumbnailCache::fileUri(picture));
    EXPECT_EQ(written.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1700000000"));
    EXPECT_EQ(platform::permissionBits(stored), 0600u);
    EXPECT_EQ(platform::permissionBits(tree.path(QStringLiteral("cache/thumbnails/large"))), 0700u);

    // A second showing takes the stored thumbnail, not the file: make them differ.
    QImage planted(256, 128, QImage::Format_RGB32);
    planted.fill(Qt::blue);
    planted.setText(QStringLiteral("Thumb::URI"),
                    QString::fromUtf8(ThumbnailCache::fileUri(picture)));
    planted.setText(QStringLiteral("Thumb::MTime"), QStringLiteral("1700000000"));
    ASSERT_TRUE(planted.save(stored, "PNG"));
    EXPECT_EQ(centre(CachedThumbnail(picture, QSize(200, 150), cache)), QColor(Qt::blue));

    // A changed file makes the stored thumbnail stale.
    tree.setModified(QStringLiteral("photo.png"),
                     QDateTime::fromSecsSinceEpoch(1700000100, Qt::UTC));
    EXPECT_TRUE(cache.find(picture, ThumbnailCache::Flavor::Large).isNull());
    EXPECT_EQ(centre(CachedThumbnail(picture, QSize(200, 150), cache)), QColor(Qt::red));
    EXPECT_EQ(QImage(stored).text(QStringLiteral("Thumb::MTime")), QStringLiteral("1700000100"));
}

TEST(ThumbnailCache, NeverHoldsItsOwnFilesOrOurWorkingCopies)
{
    TempTree tree;
    const QString work = tree.folder(QStringLiteral("work"));
    const ThumbnailCache cache(tree.path(QStringLiteral("thumbs")), {work});
    const QString copy = tree.file(QStringLiteral("work/a.png"), png(QSize(40, 40), Qt::green));
    const QString own =
        tree.file(QStringLiteral("thumbs/normal/b.png"), png(QSize(40, 40), Qt::green));
    for (const QString& path : {copy, own}) {
        EXPECT_FALSE(cache.cacheable(path)) << path.toStdString();
        EXPECT_EQ(centre(CachedThumbnail(path, QSize(30, 30), cache)), QColor(Qt::green));
        EXPECT_FALSE(
            platform::pathExists(cache.thumbnailPath(path, ThumbnailCache::Flavor::Normal)));
    }
    EXPECT_TRUE(
        CachedThumbnail(tree.path(QStringLiteral("missing.png")), QSize(30, 30), cache).isNull());
}

TEST(ThumbnailCache, PagesDrawnThroughTheCacheFillIt)
{
    TempTree tree;
    const ThumbnailCache cache(tree.path(QStringLiteral("thumbs")));
    QStringList paths;
    for (int i = 0; i < 3; ++i)
        paths << tree.file(QStringLiteral("p%1.png").arg(i), png(QSize(90, 60), Qt::red));
    const QSize area(500, 400);
    const QImage page = DrawThumbnailPage(paths, 0, area, {}, {}, &cache);
    const ThumbnailGeometry geometry(area);
    EXPECT_EQ(page.pixelColor(geometry.cell(2).center()), QColor(Qt::red));
    for (const QString& path : paths)
        EXPECT_FALSE(
            cache.find(path, ThumbnailCache::flavorFor(geometry.thumbnailSize())).isNull());
}
