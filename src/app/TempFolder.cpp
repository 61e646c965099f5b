#include "app/TempFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool CreateTempFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    if (QFileInfo(folder).isDir())
        return true;
    if (!QDir().mkpath(folder))
        return false;
    QFile marker(QDir(folder).filePath(TempFolderMarker));
    return marker.open(QIODevice::WriteOnly);
}

bool DeleteTempFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    QDir dir(folder);
    // Never the root or the home folder, whatever the marker says.
    const QString clean = QDir::cleanPath(dir.absolutePath());
    if (clean == QLatin1String("/") || clean == QDir::cleanPath(QDir::homePath()))
        return false;
    if (!dir.exists() || !QFileInfo::exists(dir.filePath(TempFolderMarker)))
        return false;
    return dir.removeRecursively();
}
