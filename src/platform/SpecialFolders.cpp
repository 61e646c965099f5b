#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

QString location(QStandardPaths::StandardLocation which)
{
    return QStandardPaths::writableLocation(which);
}

} // namespace

QString DesktopFolder()
{
    return location(QStandardPaths::DesktopLocation);
}

QStringList SpecialFolders()
{
    const QString home = QDir::homePath();
    const QString data = location(QStandardPaths::GenericDataLocation);
    const QStringList candidates{
        DesktopFolder(),
        location(QStandardPaths::ApplicationsLocation),
        location(QStandardPaths::DocumentsLocation),
        location(QStandardPaths::DownloadLocation),
        location(QStandardPaths::MusicLocation),
        location(QStandardPaths::PicturesLocation),
        location(QStandardPaths::MoviesLocation),
        data + QStringLiteral("/RecentDocuments"),
        location(QStandardPaths::FontsLocation),
        data + QStringLiteral("/fonts"),
        QStringLiteral("/usr/share/fonts"),
        home + QStringLiteral("/Templates"),
        home + QStringLiteral("/Public"),
        data,
        location(QStandardPaths::GenericCacheLocation),
        location(QStandardPaths::GenericConfigLocation),
        data + QStringLiteral("/Trash/files"),
        home,
    };
    QStringList result;
    for (const QString& candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        const QFileInfo info(candidate);
        const QString clean = QDir::cleanPath(info.absoluteFilePath());
        if (info.isDir() && !result.contains(clean))
            result << clean;
    }
    return result;
}

} // namespace platform
