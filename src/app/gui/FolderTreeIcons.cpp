#include "app/gui/FolderTreeIcons.h"

#include "browse/NodeImages.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

namespace {

struct IconSource {
    const char* theme;
    QStyle::StandardPixmap fallback;
};

IconSource sourceOf(FolderImage image)
{
    switch (image) {
    case FolderImage::Open:
        return {"folder-open", QStyle::SP_DirOpenIcon};
    case FolderImage::Closed:
        return {"folder", QStyle::SP_DirClosedIcon};
    case FolderImage::Leaf:
        return {"text-x-generic", QStyle::SP_FileIcon};
    case FolderImage::Floppy:
        return {"drive-removable-media", QStyle::SP_DriveFDIcon};
    case FolderImage::Hard:
        return {"drive-harddisk", QStyle::SP_DriveHDIcon};
    case FolderImage::CdRom:
        return {"drive-optical", QStyle::SP_DriveCDIcon};
    case FolderImage::Net:
        return {"folder-remote", QStyle::SP_DriveNetIcon};
    case FolderImage::Desk:
        return {"user-desktop", QStyle::SP_DesktopIcon};
    case FolderImage::Desktop:
        break;
    }
    return {"computer", QStyle::SP_ComputerIcon};
}

QIcon makeIcon(const IconSource& source)
{
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(source.theme));
    if (!themed.isNull())
        return themed;
    return QApplication::style()->standardIcon(source.fallback);
}

QIcon iconOf(FolderImage image)
{
    static QHash<int, QIcon> cache;
    auto cached = cache.find(int(image));
    if (cached == cache.end())
        cached = cache.insert(int(image), makeIcon(sourceOf(image)));
    return *cached;
}

} // namespace

QIcon FolderTreeIcon(const QString& key)
{
    const std::optional<FolderImage> image = FolderImageOf(key);
    return image ? iconOf(*image) : QIcon();
}

QIcon FolderHistoryIcon(int index)
{
    switch (index) {
    case 4:
        return iconOf(FolderImage::Floppy);
    case 5:
        return iconOf(FolderImage::Hard);
    case 6:
        return iconOf(FolderImage::CdRom);
    case 7:
        return iconOf(FolderImage::Net);
    default:
        return iconOf(FolderImage::Closed);
    }
}
