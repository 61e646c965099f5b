// What a cZip's file sources name: files, folders walked when recursing, wildcards.
#include "archive/ZipSources.h"

#include "archive/cZip.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

bool HasWildcard(const QString& name)
{
    return name.contains(u'*') || name.contains(u'?');
}

namespace {

/// Gathers the files the sources name, with the names they are stored under.
class SpecGatherer {
public:
    SpecGatherer(const cZip& zip, const QStringList& exclude) : zip_(zip), exclude_(exclude) {}

    QList<NewFile> gather(const QStringList& sources)
    {
        for (const QString& source : sources)
            addSource(source);
        return files_;
    }

private:
    QString absolute(const QString& source) const
    {
        // By text: Qt's own absolute paths lose the bytes of names that are not UTF-8.
        if (QDir::isAbsolutePath(source) || zip_.BasePath.trimmed().isEmpty())
            return platform::absoluteFilePath(source);
        return platform::absoluteFilePath(zip_.BasePath + u'/' + source);
    }

    void addSource(const QString& source)
    {
        const QString path = absolute(source);
        const QFileInfo info(path);
        if (HasWildcard(info.fileName())) {
            walk(info.path(), {info.fileName()});
        } else if (platform::isFolder(path)) {
            if (zip_.RecurseSubDirs)
                walk(path, {});
            else if (zip_.StoreDirectories)
                add(path, true);
        } else if (platform::isRegularFile(path)) {
            add(path, false);
        }
    }

    void walk(const QString& folder, const QStringList& patterns)
    {
        QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
        if (zip_.StoreDirectories && patterns.isEmpty())
            filters |= QDir::Dirs;
        if (zip_.IncludeSystemAndHiddenFiles)
            filters |= QDir::Hidden;
        QDirIterator it(folder, patterns, filters,
                        zip_.RecurseSubDirs ? QDirIterator::Subdirectories
                                            : QDirIterator::NoIteratorFlags);
        while (it.hasNext()) {
            it.next();
            const QFileInfo info = it.fileInfo();
            // Devices, sockets and FIFOs are no files to zip; reading a FIFO would block.
            if (info.isDir() ? !info.isSymLink() : info.isFile())
                add(info.absoluteFilePath(), info.isDir());
        }
    }

    void add(const QString& source, bool folder)
    {
        if (exclude_.contains(source))
            return;
        QString stored = source.mid(source.lastIndexOf(u'/') + 1);
        if (zip_.StoreFolderNames) {
            const QString base =
                QDir(zip_.BasePath.trimmed().isEmpty() ? QDir::currentPath() : zip_.BasePath)
                    .absolutePath();
            stored = source.startsWith(base + u'/') ? source.mid(base.size() + 1) : source.mid(1);
        }
        if (folder)
            stored += u'/';
        // Asked of the platform: Qt cannot reach a name that is not UTF-8.
        const std::optional<platform::FileEntry> entry = platform::statFile(source);
        files_.append({source, stored, folder, entry ? entry->modifiedMs / 1000 : 0});
    }

    const cZip& zip_;
    QStringList exclude_;
    QList<NewFile> files_;
};

} // namespace

QList<NewFile> GatherSpecs(const cZip& zip, const QStringList& sources, const QStringList& exclude)
{
    return SpecGatherer(zip, exclude).gather(sources);
}
