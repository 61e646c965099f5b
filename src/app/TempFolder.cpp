#include "app/TempFolder.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/FolderWalk.h"
#include "platform/PrivateFolder.h"
#include "platform/SafeWrite.h"
#include "shared/TextHelpers.h"

#include <QDir>

namespace {

/// Removes the working folders of processes that ended without tidying up.
void removeStaleFolders(const QString& base)
{
    for (const QString& name : platform::listSubfolders(base)) {
        bool isNumber = false;
        const qint64 pid = name.toLongLong(&isNumber);
        if (isNumber && pid != platform::currentProcessId() && !platform::processAlive(pid))
            DeleteTempFolder(base + u'/' + name);
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
    const QString own = root + u'/' + QString::number(platform::currentProcessId());
    if (!platform::makePrivateFolder(own) ||
        !platform::WriteFileSafely(own + u'/' + TempFolderMarker, QByteArray()))
        return work;
    work.path = WithSlash(own);
    return work;
}

bool DeleteTempFolder(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    // Never the root or the home folder, whatever the marker says.
    const QString clean = platform::absoluteFilePath(folder);
    if (clean == QLatin1String("/") || clean == QDir::cleanPath(QDir::homePath()))
        return false;
    // A link to a folder is no working folder of ours: the marker must be inside itself.
    if (platform::isLink(clean) || !platform::isFolder(clean) ||
        !platform::pathExists(clean + u'/' + TempFolderMarker))
        return false;
    // Extracted entries may have names of any bytes, which Qt's removal cannot reach.
    return platform::removeFolderTree(clean);
}
