#include "app/TempFolder.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/FolderWalk.h"
#include "platform/PrivateFolder.h"
#include "platform/SafeWrite.h"
#include "shared/TextHelpers.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

namespace {

const QString FolderPrefix = QStringLiteral("Lumara-");

/// What the marker says: "<pid> <host>".
QByteArray markerText()
{
    return QByteArray::number(platform::currentProcessId()) + ' ' +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

/// True when the folder is the working folder of a process of this machine that has
/// ended. Folders named after a process id alone come from older versions.
bool belongsToEndedProcess(const QString& folder, const QString& name)
{
    if (!platform::isPrivateFolder(folder))
        return false;
    QFile marker;
    if (!platform::openForReading(marker, folder + u'/' + TempFolderMarker))
        return false;
    const QList<QByteArray> fields = marker.read(256).trimmed().split(' ');
    bool isNumber = false;
    qint64 pid = fields.value(0).toLongLong(&isNumber);
    if (!isNumber) {
        pid = name.toLongLong(&isNumber); // an empty marker of an older version
        if (!isNumber)
            return false;
    } else if (fields.size() > 1 &&
               QString::fromUtf8(fields.at(1)) != QSysInfo::machineHostName()) {
        return false; // a shared folder: that process may run elsewhere
    }
    return pid != platform::currentProcessId() && !platform::processAlive(pid);
}

/// Removes the working folders of processes that ended without tidying up.
void removeStaleFolders(const QString& parent)
{
    for (const QString& name : platform::listSubfolders(parent)) {
        bool isNumber = false;
        name.toLongLong(&isNumber);
        if (!isNumber && !name.startsWith(FolderPrefix))
            continue;
        const QString folder = parent + u'/' + name;
        if (belongsToEndedProcess(folder, name))
            DeleteTempFolder(folder);
    }
}

/// A fresh marked private folder inside `parent`; "" when none could be made.
QString makeWorkingFolder(const QString& parent)
{
    if (!platform::isSafeParentFolder(parent))
        return {};
    const QString made = platform::makeFreshPrivateFolder(parent + u'/' + FolderPrefix);
    if (made.isEmpty())
        return {};
    if (!platform::WriteFileSafely(made + u'/' + TempFolderMarker, markerText())) {
        platform::removeFolderTree(made);
        return {};
    }
    removeStaleFolders(parent);
    return made;
}

} // namespace

WorkingFolder OpenWorkingFolder(const QString& base)
{
    WorkingFolder work;
    const QString root = base.isEmpty() ? QString() : QDir::cleanPath(base);
    QString made;
    if (!root.isEmpty()) {
        const bool rootIsNew = platform::makeMissingFolder(root);
        made = makeWorkingFolder(root);
        if (made.isEmpty() && rootIsNew)
            platform::removeEmptyFolder(root);
    }
    if (made.isEmpty()) {
        made = makeWorkingFolder(QDir::cleanPath(QDir::tempPath()));
        if (made.isEmpty())
            return work;
        work.notice = QStringLiteral("The working folder ") + base +
                      QStringLiteral(" cannot safely hold private files; using ") + made +
                      QStringLiteral(" instead");
    }
    work.path = WithSlash(made);
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
