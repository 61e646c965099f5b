// ZipJob over libarchive's zip writer. An update is a new archive: the kept entries of
// the old zip are copied into it, and it replaces the old one only when all went well.
#include "archive/ZipJob.h"

#include "archive/ZipSources.h"
#include "archive/ZipWriter.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <memory>

namespace {

struct ReadCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ReadHandle = std::unique_ptr<archive, ReadCloser>;

struct OldEntry {
    QString name;
    qint64 modified = 0;
};

ReadHandle OpenZip(const QString& path)
{
    ReadHandle a(archive_read_new());
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), platform::encodeFileName(path).constData(), 65536) !=
        ARCHIVE_OK)
        return nullptr;
    return a;
}

QString EntryName(archive_entry* entry)
{
    const char* utf8 = archive_entry_pathname_utf8(entry);
    // A name stored as raw bytes keeps them when the zip is rewritten.
    return utf8 ? QString::fromUtf8(utf8) : platform::decodeFileName(archive_entry_pathname(entry));
}

/// The names and times of an existing zip; nothing when it cannot be read whole.
std::optional<QList<OldEntry>> ReadOldEntries(const QString& path)
{
    ReadHandle a = OpenZip(path);
    if (!a)
        return std::nullopt;
    QList<OldEntry> entries;
    archive_entry* entry = nullptr;
    int r;
    // ARCHIVE_EOF is positive: only OK and WARN mean a header was read.
    while ((r = archive_read_next_header(a.get(), &entry)) == ARCHIVE_OK || r == ARCHIVE_WARN)
        entries.append({EntryName(entry), qint64(archive_entry_mtime(entry))});
    if (r != ARCHIVE_EOF)
        return std::nullopt;
    return entries;
}

bool MatchesAny(const QString& name, const QStringList& patterns)
{
    for (const QString& p : patterns) {
        const QString pattern = p.startsWith(u'/') ? p.mid(p.lastIndexOf(u'/') + 1) : p;
        if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(
                                   pattern, QRegularExpression::UnanchoredWildcardConversion))
                .match(name)
                .hasMatch() &&
            (HasWildcard(pattern) || name == pattern))
            return true;
    }
    return false;
}

} // namespace

bool ZipJob::Zip()
{
    return write(false);
}

bool ZipJob::Delete()
{
    return write(true);
}

namespace {

/// What becomes of each old entry: kept, dropped, or replaced by new file number i.
constexpr qsizetype Keep = -1;
constexpr qsizetype Drop = -2;

struct UpdatePlan {
    QList<qsizetype> old;  ///< per old entry: Keep, Drop or a new file's index
    QList<bool> alreadyIn; ///< per new file: its name is in the old zip
    bool changes = false;
};

/// Unique stored names; nothing when two files share one (the library refused that).
std::optional<QHash<QString, qsizetype>> IndexByName(const QList<NewFile>& files)
{
    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (byName.contains(files[i].stored))
            return std::nullopt;
        byName.insert(files[i].stored, i);
    }
    return byName;
}

UpdatePlan PlanUpdate(const ZipJob& zip, const QList<OldEntry>& old, const QList<NewFile>& files,
                      const QHash<QString, qsizetype>& byName, bool deleting)
{
    UpdatePlan plan;
    plan.alreadyIn = QList<bool>(files.size(), false);
    const bool onlyNewer = zip.UpdateOnlyIfNewer || zip.FreshenFiles;
    for (const OldEntry& e : old) {
        const qsizetype i = byName.value(e.name, Keep);
        qsizetype fate = Keep;
        if (deleting)
            fate = MatchesAny(e.name, zip.sources()) ? Drop : Keep;
        else if (i >= 0 && (!onlyNewer || files[i].modified > e.modified))
            fate = i;
        if (i >= 0)
            plan.alreadyIn[i] = true;
        plan.changes = plan.changes || fate != Keep;
        plan.old.append(fate);
    }
    if (!zip.FreshenFiles)
        plan.changes = plan.changes || plan.alreadyIn.contains(false);
    return plan;
}

bool WriteEntries(const ZipJob& zip, ZipWriter& writer, const QString& target,
                  const QList<OldEntry>& old, const QList<NewFile>& files, const UpdatePlan& plan,
                  QString& error);

/// Writes the planned archive into `out`: old entries in their order (kept or
/// replaced), then the new files. False on a cancel or any failure.
bool WriteArchive(const ZipJob& zip, QFile& out, const QString& target, const QList<OldEntry>& old,
                  const QList<NewFile>& files, const UpdatePlan& plan, QString& error)
{
    ZipWriter writer(zip, out.handle());
    const bool written = WriteEntries(zip, writer, target, old, files, plan, error);
    if (!written && error.isEmpty())
        error = writer.error();
    return written;
}

} // namespace

bool ZipJob::write(bool deleting)
{
    LastError.clear();
    if (ZipFile.trimmed().isEmpty()) {
        LastError = QStringLiteral("no zip file named");
        return false;
    }
    const QString target = platform::absoluteFilePath(ZipFile);
    if (platform::isFolder(target)) {
        LastError = platform::errorText(EISDIR);
        return false;
    }
    platform::FileBeside out(target);
    if (!out.isOpen()) {
        LastError = out.errorText();
        return false;
    }
    const QList<NewFile> files =
        deleting ? QList<NewFile>() : GatherSpecs(*this, specs_, {target, out.file().fileName()});
    const std::optional<QHash<QString, qsizetype>> byName = IndexByName(files);
    if (!byName) {
        LastError = DuplicateNamesText;
        return false;
    }
    QList<OldEntry> old;
    const std::optional<unsigned> oldPermissions = platform::ownPermissionBits(target);
    if (platform::isRegularFile(target)) {
        const std::optional<QList<OldEntry>> read = ReadOldEntries(target);
        if (!read) {
            LastError = QStringLiteral("the existing file is not a zip archive that can be read");
            return false;
        }
        old = *read;
    }
    const UpdatePlan plan = PlanUpdate(*this, old, files, *byName, deleting);
    if (!plan.changes) {
        LastError = files.isEmpty() ? QStringLiteral("no files to zip")
                                    : QStringLiteral("nothing to change");
        return false;
    }
    if (!WriteArchive(*this, out.file(), target, old, files, plan, LastError))
        return false;
    out.setPermissionBits(oldPermissions.value_or(0644));
    if (!out.commit()) {
        LastError = out.errorText();
        return false;
    }
    return true;
}

namespace {

bool WriteEntries(const ZipJob& zip, ZipWriter& writer, const QString& target,
                  const QList<OldEntry>& old, const QList<NewFile>& files, const UpdatePlan& plan,
                  QString& error)
{
    if (!writer.open())
        return false;
    const int total = int(plan.old.size() + files.size());
    int done = 0;
    auto step = [&](const QString& name) {
        if (zip.Cancel && zip.Cancel()) {
            error = QStringLiteral("cancelled");
            return false;
        }
        if (zip.Progress)
            zip.Progress(name, total ? 100 * ++done / total : 100);
        return true;
    };
    ReadHandle r = old.isEmpty() ? nullptr : OpenZip(target);
    archive_entry* entry = nullptr;
    for (qsizetype k = 0; r && k < plan.old.size(); ++k) {
        const int read = archive_read_next_header(r.get(), &entry);
        if (read != ARCHIVE_OK && read != ARCHIVE_WARN) {
            error = QStringLiteral("the existing zip cannot be read: ") +
                    QString::fromUtf8(archive_error_string(r.get()));
            return false;
        }
        if (!step(old[k].name))
            return false;
        const qsizetype fate = plan.old[k];
        if ((fate == Keep && !writer.addOld(r.get(), entry)) ||
            (fate >= 0 && !writer.addFile(files[fate])))
            return false;
    }
    for (qsizetype i = 0; i < files.size() && !zip.FreshenFiles; ++i) {
        if (!plan.alreadyIn[i] && (!step(files[i].stored) || !writer.addFile(files[i])))
            return false;
    }
    return writer.close();
}

} // namespace
