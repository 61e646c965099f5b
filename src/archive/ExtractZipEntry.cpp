// One zip entry extracted over libarchive, guarded so that nothing is ever written
// outside the destination folder.
#include "archive/ExtractZipEntry.h"

#include "archive/ByteCursor.h"
#include "archive/cArchive.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <memory>
#include <optional>

namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ReadHandle = std::unique_ptr<archive, ArchiveCloser>;

/// The password callback's state: the question is asked at most once per extraction.
struct PasswordState {
    Prompts* prompts = nullptr;
    bool asked = false;
    QByteArray answer;
};

const char* AskPassword(archive*, void* data)
{
    auto* state = static_cast<PasswordState*>(data);
    if (state->asked)
        return nullptr;
    state->asked = true;
    const std::optional<QString> text = state->prompts->password(
        QStringLiteral("Please Enter The Password!"), QStringLiteral("Password"));
    if (!text)
        return nullptr;
    state->answer = text->left(256).toUtf8();
    return state->answer.constData();
}

/// True when the entry goes by `name`: as libarchive reads it, as the name's own bytes
/// (see platform/FileNames.h), or as the directory reader shows a name that is not
/// UTF-8, so every name a listing offers reaches its entry.
bool EntryIsNamed(archive_entry* entry, const QString& name)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry);
        utf8 && QString::fromUtf8(utf8) == name)
        return true;
    const char* raw = archive_entry_pathname(entry);
    if (!raw)
        return false;
    const QByteArray bytes(raw);
    return platform::decodeFileName(bytes) == name || EntryNameText(bytes) == name;
}

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

/// True when a link stored at `parts` with `target` resolves inside the folder.
bool LinkStaysInside(const QStringList& parts, const QString& target)
{
    if (target.isEmpty() || target.startsWith(u'/'))
        return false;
    int depth = int(parts.size()) - 1; // the link's own folder depth
    for (const QString& step : target.split(u'/', Qt::SkipEmptyParts)) {
        if (step == QLatin1String(".."))
            --depth;
        else if (step != QLatin1String("."))
            ++depth;
        if (depth < 0)
            return false;
    }
    return true;
}

/// Creates the folders of the entry's path below `root`; false when one of them is a
/// link or not a folder, since writing through it could leave the destination.
bool MakeFolders(const QString& root, const QStringList& folders)
{
    QString at = root;
    for (const QString& part : folders) {
        at += u'/' + part;
        if (platform::isLink(at) || !platform::makeFolder(at))
            return false;
    }
    return true;
}

class EntryWriter {
public:
    EntryWriter(archive* a, archive_entry* entry, Prompts& prompts)
        : a_(a), entry_(entry), prompts_(prompts)
    {}

    ExtractOutcome write(const QString& target, const QString& name)
    {
        platform::FileBeside beside(target);
        if (!beside.isOpen())
            return fail(name, QStringLiteral("the file cannot be written"));
        QFile& out = beside.file();
        char buffer[65536];
        for (;;) {
            const la_ssize_t n = archive_read_data(a_, buffer, sizeof buffer);
            if (n == 0)
                break;
            if (n < 0)
                return fail(name, QString::fromUtf8(archive_error_string(a_)));
            if (out.write(buffer, n) != n)
                return fail(name, out.errorString());
        }
        // Only the read, write and execute bits: no archive makes a set-id program here.
        const unsigned mode = archive_entry_perm(entry_) & 0777;
        beside.setPermissionBits(mode ? mode : 0644);
        // Written out first, or the last buffered bytes would stamp the time again.
        if (!out.flush())
            return fail(name, out.errorString());
        if (archive_entry_mtime_is_set(entry_))
            out.setFileTime(QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry_)),
                            QFileDevice::FileModificationTime);
        // rename() replaces a link at the target itself, never the file it points to.
        if (!beside.commit())
            return fail(name, QStringLiteral("the file cannot be replaced"));
        return ExtractOutcome::Extracted;
    }

private:
    ExtractOutcome fail(const QString& name, const QString& why)
    {
        prompts_.message(name + QStringLiteral(" could not be extracted:\r\n") + why);
        return ExtractOutcome::Failed;
    }

    archive* a_;
    archive_entry* entry_;
    Prompts& prompts_;
};

ExtractOutcome Refuse(const QString& name, const QString& folder, Prompts& prompts)
{
    prompts.message(name + QStringLiteral(" was not extracted: it would be written outside ") +
                    folder);
    return ExtractOutcome::Refused;
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

ExtractOutcome ExtractFound(archive* a, archive_entry* entry, const QString& folder,
                            const QString& name, Prompts& prompts, ExistingFile existing)
{
    const std::optional<QStringList> parts = RelativeParts(name);
    if (!parts)
        return Refuse(name, folder, prompts);
    const auto type = archive_entry_filetype(entry);
    const QString target = folder + u'/' + parts->join(u'/');
    const QStringList parents = parts->mid(0, parts->size() - 1);
    if (!MakeFolders(folder, type == AE_IFDIR ? *parts : parents))
        return Refuse(name, folder, prompts);
    if (type == AE_IFDIR)
        return ExtractOutcome::Extracted;
    if (archive_entry_hardlink(entry) || (type != AE_IFLNK && type != AE_IFREG)) {
        prompts.message(name + QStringLiteral(" was not extracted: it is not a plain file"));
        return ExtractOutcome::Failed;
    }
    if (type == AE_IFLNK) {
        const char* to = archive_entry_symlink_utf8(entry);
        const QString linkTarget = to ? QString::fromUtf8(to) : QString();
        if (!LinkStaysInside(*parts, linkTarget))
            return Refuse(name, folder, prompts);
        if (const auto answer = AskReplace(target, name, prompts, existing))
            return *answer;
        platform::removeFile(target);
        return platform::makeLink(linkTarget, target) ? ExtractOutcome::Extracted
                                                      : ExtractOutcome::Failed;
    }
    if (const auto answer = AskReplace(target, name, prompts, existing))
        return *answer;
    return EntryWriter(a, entry, prompts).write(target, name);
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
                                      const QString& name, Prompts& prompts, ExistingFile existing)
{
    auto source = std::make_unique<LocalHeaderSource>();
    if (!platform::openForReading(source->file, zipPath) || !source->file.seek(qint64(offset)))
        return ExtractOutcome::NotFound;
    ReadHandle a(archive_read_new());
    PasswordState password{&prompts, false, {}};
    archive_read_support_format_zip_streamable(a.get());
    archive_read_set_passphrase_callback(a.get(), &password, AskPassword);
    archive_entry* entry = nullptr;
    if (archive_read_open(a.get(), source.get(), nullptr, ReadFromFile, nullptr) != ARCHIVE_OK)
        return ExtractOutcome::NotFound;
    const int r = archive_read_next_header(a.get(), &entry);
    if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
        return ExtractOutcome::NotFound;
    return ExtractFound(a.get(), entry, root, name, prompts, existing);
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
                               const QString& entryName, Prompts& prompts, ExistingFile existing)
{
    // An empty destination meant a listing to the library: nothing is written.
    if (folder.isEmpty() || entryName.isEmpty())
        return ExtractOutcome::NotFound;
    QString root = QDir::cleanPath(folder);
    if (!platform::makeFolders(root))
        return ExtractOutcome::NotFound;
    ReadHandle a(archive_read_new());
    PasswordState password{&prompts, false, {}};
    archive_read_support_format_zip(a.get());
    archive_read_set_passphrase_callback(a.get(), &password, AskPassword);
    const QString wanted = QString(entryName).replace(u'\\', u'/');
    if (archive_read_open_filename(a.get(), platform::encodeFileName(zipPath).constData(), 65536) ==
        ARCHIVE_OK) {
        archive_entry* entry = nullptr;
        // ARCHIVE_FAILED leaves one entry unread; the walk goes on past it.
        for (int r; (r = archive_read_next_header(a.get(), &entry)) != ARCHIVE_EOF &&
                    r != ARCHIVE_FATAL;) {
            // libarchive turns the "\\" of names stored on Windows into "/"; so do we.
            if (r != ARCHIVE_FAILED &&
                (EntryIsNamed(entry, entryName) || EntryIsNamed(entry, wanted)))
                return ExtractFound(a.get(), entry, root, wanted, prompts, existing);
        }
    }
    std::optional<quint64> offset = ZipLocalHeaderOffset(zipPath, entryName);
    if (!offset)
        offset = ZipLocalHeaderOffset(zipPath, wanted);
    return offset ? ExtractFromLocalHeader(zipPath, *offset, root, wanted, prompts, existing)
                  : ExtractOutcome::NotFound;
}
