#include "app/TempFolder.h"

#include "platform/PrivateFolder.h"
#include "shared/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

/// Removes the working folders of processes that ended without tidying up.
void removeStaleFolders(const QString& base)
{
    const QStringList names = QDir(base).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool isNumber = false;
        const qint64 pid = name.toLongLong(&isNumber);
        if (isNumber && pid != platform::currentProcessId() && !platform::processAlive(pid))
            DeleteTempFolder(QDir(base).filePath(name));
    }
}

} // namespace

WorkingFolder OpenWorkingFolder(const QString& base)
{
    WorkingFolder work;
    QString root = QDir::cleanPath(base);
    if (base.isEmpty() || !platform::makePrivateFolder(root)) {
        const QString fallback =
            platform::makeFreshPrivateFolder(QDir::tempPath() + QStringLiteral("/Lumara-"));
        if (fallback.isEmpty())
            return work;
        work.notice = QStringLiteral("The working folder ") + base +
                      QStringLiteral(" is not a private folder of yours; using ") + fallback +
                      QStringLiteral(" instead");
        root = fallback;
    }
    removeStaleFolders(root);
    const QString own = QDir(root).filePath(QString::number(platform::currentProcessId()));
    if (!platform::makePrivateFolder(own))
        return work;
    QFile marker(QDir(own).filePath(TempFolderMarker));
    if (!marker.open(QIODevice::WriteOnly))
        return work;
    work.path = WithSlash(own);
    return work;
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
