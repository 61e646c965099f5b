// What a ZipJob's file sources name: files, folders walked when recursing, wildcards.
#include "archive/ZipSources.h"

#include "archive/ZipJob.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/FolderWalk.h"

#include <QDir>
#include <QRegularExpression>

bool HasWildcard(const QString& name)
{
    return name.contains(u'*') || name.contains(u'?');
}

namespace {

/// Gathers the files the sources name, with the names they are stored under.
class SpecGatherer {
public:
    SpecGatherer(const ZipJob& zip, const QStringList& exclude) : zip_(zip), exclude_(exclude) {}

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
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString name = path.mid(slash + 1);
        if (HasWildcard(name)) {
            walk(slash == 0 ? QStringLiteral("/") : path.left(slash), name);
        } else if (platform::isFolder(path)) {
            if (zip_.RecurseSubDirs)
                walk(path, {});
            else if (zip_.StoreDirectories)
                add(path, true);
        } else if (platform::isRegularFile(path)) {
            add(path, false);
        }
    }

    /// Adds the files of `folder` (and below, when recursing) whose names fit `pattern`
    /// (any name when it is empty, folders too then when they are stored).
    void walk(const QString& folder, const QString& pattern)
    {
        // Names are matched as Windows matched them: without regard to case.
        const QRegularExpression fits(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
        const bool storeFolders = zip_.StoreDirectories && pattern.isEmpty();
        platform::WalkOptions options;
        options.recurse = zip_.RecurseSubDirs;
        options.includeHidden = zip_.IncludeSystemAndHiddenFiles;
        platform::walkFolder(folder, options, [&](const platform::WalkedEntry& found) {
            if (found.folder) {
                if (storeFolders)
                    add(found.path, true);
            } else if (pattern.isEmpty() ||
                       fits.match(found.path.mid(found.path.lastIndexOf(u'/') + 1)).hasMatch()) {
                add(found.path, false);
            }
        });
    }

    void add(const QString& source, bool folder)
    {
        if (exclude_.contains(source))
            return;
        QString stored = source.mid(source.lastIndexOf(u'/') + 1);
        if (zip_.StoreFolderNames) {
            const QString base = platform::absoluteFilePath(
                zip_.BasePath.trimmed().isEmpty() ? QString() : zip_.BasePath);
            stored = source.startsWith(base + u'/') ? source.mid(base.size() + 1) : source.mid(1);
        }
        if (folder)
            stored += u'/';
        // Asked of the platform: Qt cannot reach a name that is not UTF-8.
        const std::optional<platform::FileEntry> entry = platform::statFile(source);
        files_.append({source, stored, folder, entry ? entry->modifiedMs / 1000 : 0});
    }

    const ZipJob& zip_;
    QStringList exclude_;
    QList<NewFile> files_;
};

} // namespace

QList<NewFile> GatherSpecs(const ZipJob& zip, const QStringList& sources,
                           const QStringList& exclude)
{
    return SpecGatherer(zip, exclude).gather(sources);
}
