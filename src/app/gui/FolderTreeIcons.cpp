#include "app/gui/FolderTreeIcons.h"

#include <QApplication>
#include <QHash>
#include <QStyle>

namespace {

struct IconSource {
    const char* theme;
    QStyle::StandardPixmap fallback;
};

QIcon makeIcon(const IconSource& source)
{
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(source.theme));
    if (!themed.isNull())
        return themed;
    return QApplication::style()->standardIcon(source.fallback);
}

} // namespace

QIcon FolderTreeIcon(const QString& key)
{
    static const QHash<QString, IconSource> sources{
        {QStringLiteral("open"), {"folder-open", QStyle::SP_DirOpenIcon}},
        {QStringLiteral("closed"), {"folder", QStyle::SP_DirClosedIcon}},
        {QStringLiteral("leaf"), {"text-x-generic", QStyle::SP_FileIcon}},
        {QStringLiteral("floppy"), {"drive-removable-media", QStyle::SP_DriveFDIcon}},
        {QStringLiteral("hard"), {"drive-harddisk", QStyle::SP_DriveHDIcon}},
        {QStringLiteral("cdrom"), {"drive-optical", QStyle::SP_DriveCDIcon}},
        {QStringLiteral("net"), {"folder-remote", QStyle::SP_DriveNetIcon}},
        {QStringLiteral("desk"), {"user-desktop", QStyle::SP_DesktopIcon}},
        {QStringLiteral("desktop"), {"computer", QStyle::SP_ComputerIcon}},
    };
    static QHash<QString, QIcon> cache;
    const auto source = sources.constFind(key);
    if (source == sources.cend())
        return {};
    auto cached = cache.find(key);
    if (cached == cache.end())
        cached = cache.insert(key, makeIcon(*source));
    return *cached;
}

QIcon FolderHistoryIcon(int index)
{
    switch (index) {
    case 4:
        return FolderTreeIcon(QStringLiteral("floppy"));
    case 5:
        return FolderTreeIcon(QStringLiteral("hard"));
    case 6:
        return FolderTreeIcon(QStringLiteral("cdrom"));
    case 7:
        return FolderTreeIcon(QStringLiteral("net"));
    default:
        return FolderTreeIcon(QStringLiteral("closed"));
    }
}
