// One zip entry extracted over libarchive, guarded so that nothing is ever written
// outside the destination folder.
#include "archive/ExtractZipEntry.h"

#include "archive/ArchiveReader.h"
#include "archive/ByteCursor.h"
#include "archive/ZipEntryLookup.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <cerrno>
#include <memory>
#include <optional>

namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ReadHandle = std::unique_ptr<archive, ArchiveCloser>;

/// The entry name as clean relative parts, or nothing when it is absolute, climbs with
/// "..", or has no parts at all.
std::optional<QStringList> RelativeParts(const QString& name)
{
    if (name.startsWith(u'/') || name.startsWith(u'\\') || (name.size() >= 2 && name.at(1) == u':'))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            parts.append(part);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts;
}

/// True when a link stored at `parts` with `target` leads to a place inside `root`, the
/// links already there (earlier entries of the archive among them) followed as the
/// system would. A ".." after a name that does not exist yet is refused too: a later
/// entry could make that name a link and the ".." then lead out.
bool LinkStaysInside(const QString& root, const QStringList& parts, const QString& target)
{
    if (target.isEmpty() || target.startsWith(u'/'))
        return false;
    QStringList at = parts.mid(0, parts.size() - 1); // where the link itself lies
    QStringList steps = target.split(u'/', Qt::SkipEmptyParts);
    bool missingBefore = false;
    for (int followed = 0; !steps.isEmpty();) {
        const QString step = steps.takeFirst();
        if (step == QLatin1String("."))
            continue;
        if (step == QLatin1String("..")) {
            if (at.isEmpty() || missingBefore)
                return false;
            at.removeLast();
            continue;
        }
        const QString path = root + u'/' + (at + QStringList{step}).join(u'/');
        if (const std::optional<QString> inner = platform::linkTarget(path)) {
            if (++followed > 40 || inner->isEmpty() || inner->startsWith(u'/'))
                return false;
            steps = inner->split(u'/', Qt::SkipEmptyParts) + steps;
            continue;
        }
        missingBefore = missingBefore || !platform::pathExists(path);
        at.append(step);
    }
    return true;
}

/// The folders an extraction made, removed again (deepest first) when it fails.
class MadeFolders {
public:
    ~MadeFolders()
    {
        if (kept_)
            return;
        for (auto it = made_.crbegin(); it != made_.crend(); ++it)
            platform::removeFolder(*it);
    }
    void keep() { kept_ = true; }

    enum class Trouble { None, LinkOnTheWay, SystemError };

    /// Creates the folders of the entry's path below `root`. A link or a file on the way
    /// stops it (writing through it could leave the destination), and so does a failed
    /// mkdir, whose reason goes to `why`.
    Trouble make(const QString& root, const QStringList& folders, QString& why)
    {
        QString at = root;
        for (const QString& part : folders) {
            at += u'/' + part;
            if (platform::isLink(at))
                return Trouble::LinkOnTheWay;
            if (platform::isFolder(at))
                continue;
            if (platform::pathExists(at)) {
                why = at + QStringLiteral(": ") + platform::errorText(ENOTDIR);
                return Trouble::SystemError;
            }
            if (!platform::makeFolder(at)) {
                why = platform::errorText(errno);
                return Trouble::SystemError;
            }
            made_.append(at);
        }
        return Trouble::None;
    }

private:
    QStringList made_;
    bool kept_ = false;
};

class EntryWriter {
public:
    EntryWriter(archive* a, archive_entry* entry, Prompts& prompts, const ExtractLimits& limits)
        : a_(a), entry_(entry), prompts_(prompts), limits_(limits)
    {}

    ExtractOutcome write(const QString& target, const QString& name)
    {
        if (platform::isFolder(target))
            return fail(name, platform::errorText(EISDIR));
        const bool sizeKnown = archive_entry_size_is_set(entry_) != 0;
        const qint64 declared = sizeKnown ? archive_entry_size(entry_) : -1;
        const QString folder = target.left(target.lastIndexOf(u'/') + 1);
        if (const auto free = platform::freeSpace(folder); free && declared > *free)
            return fail(name, QStringLiteral("it needs ") + QString::number(declared) +
                                  QStringLiteral(" bytes, but only ") + QString::number(*free) +
                                  QStringLiteral(" are free there"));
        platform::FileBeside beside(target);
        if (!beside.isOpen())
            return fail(name, beside.errorText());
        const qint64 startRead = archive_filter_bytes(a_, -1);
        qint64 written = 0;
        bool ratioAccepted = limits_.huge == ExtractLimits::Huge::Allow;
        char buffer[65536];
        for (;;) {
            const la_ssize_t n = archive_read_data(a_, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                return fail(name, QString::fromUtf8(archive_error_string(a_)));
            written += n;
            if (sizeKnown && written > declared)
                return fail(name, QStringLiteral("it holds more than the ") +
                                      QString::number(declared) +
                                      QStringLiteral(" bytes its header declares"));
            const qint64 packed = qMax<qint64>(1, archive_filter_bytes(a_, -1) - startRead);
            if (!ratioAccepted && written > limits_.ratioFloor &&
                written > limits_.ratio * packed) {
                if (!askHuge(name))
                    return fail(name, QStringLiteral("it unpacks to more than ") +
                                          QString::number(limits_.ratio) +
                                          QStringLiteral(" times its packed size"));
                ratioAccepted = true;
            }
            if (!beside.write(buffer, n))
                return fail(name, beside.errorText());
        }
        // Only the read, write and execute bits: no archive makes a set-id program here.
        const unsigned mode = archive_entry_perm(entry_) & 0777;
        beside.setPermissionBits(mode ? mode : 0644);
        if (archive_entry_mtime_is_set(entry_))
            beside.file().setFileTime(QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry_)),
                                      QFileDevice::FileModificationTime);
        // rename() replaces a link at the target itself, never the file it points to.
        if (!beside.commit())
            return fail(name, beside.errorText());
        return ExtractOutcome::Extracted;
    }

private:
    bool askHuge(const QString& name)
    {
        return limits_.huge == ExtractLimits::Huge::Ask &&
               prompts_.askYesNo(name + QStringLiteral(" unpacks to more than ") +
                                 QString::number(limits_.ratio) +
                                 QStringLiteral(" times its packed size, which is how a zip bomb "
                                                "fills a disk.\r\n\r\nGo on extracting it?"));
    }

    ExtractOutcome fail(const QString& name, const QString& why)
    {
        prompts_.message(name + QStringLiteral(" could not be extracted:\r\n") + why);
        return ExtractOutcome::Failed;
    }

    archive* a_;
    archive_entry* entry_;
    Prompts& prompts_;
    const ExtractLimits& limits_;
};

ExtractOutcome Refuse(const QString& name, const QString& folder, Prompts& prompts)
{
    prompts.message(name + QStringLiteral(" was not extracted: it would be written outside ") +
                    folder);
    return ExtractOutcome::Refused;
}

ExtractOutcome CannotMake(const QString& name, const QString& why, Prompts& prompts)
{
    prompts.message(name + QStringLiteral(" could not be extracted:\r\n") + why);
    return ExtractOutcome::Failed;
}

/// Asks before an existing file is replaced; nothing when it may be written.
std::optional<ExtractOutcome> AskReplace(const QString& target, const QString& name,
                                         Prompts& prompts, ExistingFile existing)
{
    if (existing == ExistingFile::Replace || !platform::pathExists(target))
        return std::nullopt;
    switch (prompts.askYesNoCancel(QStringLiteral("Overwrite ") + name + QStringLiteral("?"),
                                   QStringLiteral("File already exists"))) {
    case Prompts::Answer::Yes:
        return std::nullopt;
    case Prompts::Answer::No:
        return ExtractOutcome::Skipped;
    default:
        return ExtractOutcome::Cancelled;
    }
}

ExtractOutcome ExtractLink(archive_entry* entry, const QString& root, const QStringList& parts,
                           const QString& name, Prompts& prompts, ExistingFile existing)
{
    const char* to = archive_entry_symlink_utf8(entry);
    const QString linkTarget = to ? QString::fromUtf8(to) : QString();
    if (!LinkStaysInside(root, parts, linkTarget))
        return Refuse(name, root, prompts);
    const QString target = root + u'/' + parts.join(u'/');
    if (const auto answer = AskReplace(target, name, prompts, existing))
        return *answer;
    if (platform::pathExists(target) && !platform::removeFile(target))
        return CannotMake(name, platform::errorText(errno), prompts);
    if (!platform::makeLink(linkTarget, target))
        return CannotMake(name, platform::errorText(errno), prompts);
    return ExtractOutcome::Extracted;
}

ExtractOutcome ExtractFound(archive* a, archive_entry* entry, const QString& folder,
                            const QString& name, Prompts& prompts, ExistingFile existing,
                            const ExtractLimits& limits)
{
    const std::optional<QStringList> parts = RelativeParts(name);
    if (!parts)
        return Refuse(name, folder, prompts);
    const auto type = archive_entry_filetype(entry);
    const QString target = folder + u'/' + parts->join(u'/');
    const QStringList parents = parts->mid(0, parts->size() - 1);
    MadeFolders made;
    QString why;
    switch (made.make(folder, type == AE_IFDIR ? *parts : parents, why)) {
    case MadeFolders::Trouble::LinkOnTheWay:
        return Refuse(name, folder, prompts);
    case MadeFolders::Trouble::SystemError:
        return CannotMake(name, why, prompts);
    case MadeFolders::Trouble::None:
        break;
    }
    ExtractOutcome outcome = ExtractOutcome::Extracted;
    if (type == AE_IFDIR) {
        outcome = ExtractOutcome::Extracted;
    } else if (archive_entry_hardlink(entry) || (type != AE_IFLNK && type != AE_IFREG)) {
        prompts.message(name + QStringLiteral(" was not extracted: it is not a plain file"));
        outcome = ExtractOutcome::Failed;
    } else if (type == AE_IFLNK) {
        outcome = ExtractLink(entry, folder, *parts, name, prompts, existing);
    } else if (const auto answer = AskReplace(target, name, prompts, existing)) {
        outcome = *answer;
    } else {
        outcome = EntryWriter(a, entry, prompts, limits).write(target, name);
    }
    if (outcome == ExtractOutcome::Extracted)
        made.keep();
    return outcome;
}

/// The zip read from one entry's local header on, for an entry that the walk over the
/// whole archive cannot reach.
struct LocalHeaderSource {
    QFile file;
    char buffer[65536];
};

la_ssize_t ReadFromFile(archive*, void* data, const void** block)
{
    auto* source = static_cast<LocalHeaderSource*>(data);
    *block = source->buffer;
    return source->file.read(source->buffer, sizeof source->buffer);
}

/// Extracts the entry whose local header starts at `offset`, read as a stream: an
/// entry before it that the library cannot read no longer hides it, and its name is
/// the one the directory gave.
ExtractOutcome ExtractFromLocalHeader(const QString& zipPath, quint64 offset, const QString& root,
                                      const QString& name, Prompts& prompts, ExistingFile existing,
                                      const ExtractLimits& limits)
{
    auto source = std::make_unique<LocalHeaderSource>();
    if (!platform::openForReading(source->file, zipPath) || !source->file.seek(qint64(offset)))
        return ExtractOutcome::NotFound;
    ReadHandle a(archive_read_new());
    ZipPasswordState password{&prompts, false, {}};
    archive_read_support_format_zip_streamable(a.get());
    archive_read_set_passphrase_callback(a.get(), &password, AskZipPassword);
    archive_entry* entry = nullptr;
    if (archive_read_open(a.get(), source.get(), nullptr, ReadFromFile, nullptr) != ARCHIVE_OK)
        return ExtractOutcome::NotFound;
    const int r = archive_read_next_header(a.get(), &entry);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
        return ExtractOutcome::NotFound;
    return ExtractFound(a.get(), entry, root, name, prompts, existing, limits);
}

/// Finds `entryName` in the zip and extracts it below `root`.
ExtractOutcome FindAndExtract(const QString& zipPath, const QString& root, const QString& entryName,
                              Prompts& prompts, ExistingFile existing, const ExtractLimits& limits)
{
    ReadHandle a(archive_read_new());
    ZipPasswordState password{&prompts, false, {}};
    archive_read_support_format_zip(a.get());
    archive_read_set_passphrase_callback(a.get(), &password, AskZipPassword);
    const QString wanted = QString(entryName).replace(u'\\', u'/');
    QString unreadable; // why the walk over the whole archive stopped short
    // Small reads: the bytes read so far then tell the packed size closely enough to
    // judge an entry's ratio while it is unpacked.
    if (archive_read_open_filename(a.get(), platform::encodeFileName(zipPath).constData(), 4096) !=
        ARCHIVE_OK) {
        unreadable = QString::fromUtf8(archive_error_string(a.get()));
    } else {
        archive_entry* entry = nullptr;
        int r;
        // ARCHIVE_FAILED leaves one entry unread; the walk goes on past it.
        while ((r = archive_read_next_header(a.get(), &entry)) != ARCHIVE_EOF &&
               r != ARCHIVE_FATAL) {
            // libarchive turns the "\" of names stored on Windows into "/"; so do we.
            if (r != ARCHIVE_FAILED &&
                (EntryIsNamed(entry, entryName) || EntryIsNamed(entry, wanted)))
                return ExtractFound(a.get(), entry, root, wanted, prompts, existing, limits);
        }
        if (r == ARCHIVE_FATAL)
            unreadable = QString::fromUtf8(archive_error_string(a.get()));
    }
    // An entry the walk cannot reach is read from its own local header.
    std::optional<quint64> offset = ZipLocalHeaderOffset(zipPath, entryName);
    if (!offset)
        offset = ZipLocalHeaderOffset(zipPath, wanted);
    if (offset)
        return ExtractFromLocalHeader(zipPath, *offset, root, wanted, prompts, existing, limits);
    if (!unreadable.isEmpty()) {
        prompts.message(zipPath + QStringLiteral(" cannot be read:\r\n") + unreadable);
        return ExtractOutcome::Failed;
    }
    return ExtractOutcome::NotFound;
}

} // namespace

QString ExtractedEntryPath(const QString& folder, const QString& entryName)
{
    const std::optional<QStringList> parts = RelativeParts(QString(entryName).replace(u'\\', u'/'));
    if (folder.isEmpty() || !parts)
        return {};
    return QDir::cleanPath(folder) + u'/' + parts->join(u'/');
}

ExtractOutcome ExtractZipEntry(const QString& zipPath, const QString& folder,
                               const QString& entryName, Prompts& prompts, ExistingFile existing,
                               const ExtractLimits& limits)
{
    // An empty destination meant a listing to the library: nothing is written.
    if (folder.isEmpty() || entryName.isEmpty())
        return ExtractOutcome::NotFound;
    if (const QString problem = platform::fileReadProblem(zipPath); !problem.isEmpty()) {
        prompts.message(zipPath + QStringLiteral(" cannot be read:\r\n") + problem);
        return ExtractOutcome::Failed;
    }
    const QString root = QDir::cleanPath(folder);
    const bool rootWasThere = platform::isFolder(root);
    if (!platform::makeFolders(root)) {
        prompts.message(entryName + QStringLiteral(" could not be extracted:\r\n") + root +
                        QStringLiteral(": ") + platform::errorText(errno));
        return ExtractOutcome::Failed;
    }
    const ExtractOutcome outcome =
        FindAndExtract(zipPath, root, entryName, prompts, existing, limits);
    if (!rootWasThere && outcome != ExtractOutcome::Extracted)
        platform::removeFolder(root); // only when still empty
    return outcome;
}
