#include "view/picture/PictureFolder.h"

#include "platform/FileSystem.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QFileInfo>

bool IsPictureName(const QString& name, const Settings& settings)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == name.size() - 1)
        return false;
    const QString extension = name.mid(dot + 1).toLower();
    const QStringList listed =
        settings.categories[1].extensions.toLower().split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& entry : listed) {
        if (entry.trimmed() == extension)
            return true;
    }
    return false;
}

QStringList PicturesAmong(const QStringList& paths, const Settings& settings)
{
    QStringList pictures;
    for (const QString& path : paths) {
        if (IsPictureName(QFileInfo(path).fileName(), settings))
            pictures << path;
    }
    pictures.sort();
    return pictures;
}

QStringList PictureFilesOfFolder(const QString& folder, const Settings& settings)
{
    QStringList paths;
    for (const platform::FileEntry& entry : platform::listFiles(folder, true)) {
        if (!(entry.attributes & platform::FileAttribute::System))
            paths << WithSlash(folder) + entry.name;
    }
    return PicturesAmong(paths, settings);
}
