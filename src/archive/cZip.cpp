// cZip over libarchive's zip writer. An update is a new archive: the kept entries of
// the old zip are copied into it, and it replaces the old one only when all went well.
#include "archive/cZip.h"

#include "archive/ReplaceFile.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

struct ReadCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
struct WriteCloser {
    void operator()(archive* a) const { archive_write_free(a); }
};
using ReadHandle = std::unique_ptr<archive, ReadCloser>;
using WriteHandle = std::unique_ptr<archive, WriteCloser>;

struct NewFile {
    QString source;
    QString stored;
    bool folder = false;
    qint64 modified = 0; // seconds since the epoch
};

struct OldEntry {
    QString name;
    qint64 modified = 0;
};

bool HasWildcard(const QString& name)
{
    return name.contains(u'*') || name.contains(u'?');
}

ReadHandle OpenZip(const QString& path)
{
    ReadHandle a(archive_read_new());
    archive_read_support_format_zip(a.get());
    if (archive_read_open_filename(a.get(), QFile::encodeName(path).constData(), 65536) !=
        ARCHIVE_OK)
        return nullptr;
    return a;
}

QString EntryName(archive_entry* entry)
{
    const char* utf8 = archive_entry_pathname_utf8(entry);
    return utf8 ? QString::fromUtf8(utf8) : QString::fromLocal8Bit(archive_entry_pathname(entry));
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

QByteArray ConvertLineEnds(QByteArray data, bool toLf, bool toCrLf)
{
    if (data.contains('\0'))
        return data; // binary: left alone
    if (toLf)
        data.replace("\r\n", "\n");
    if (toCrLf) {
        data.replace("\r\n", "\n");
        data.replace("\n", "\r\n");
    }
    return data;
}

/// Gathers the files the specs name, with the names they are stored under.
class SpecGatherer {
public:
    SpecGatherer(const cZip& zip, const QStringList& exclude) : zip_(zip), exclude_(exclude) {}

    QList<NewFile> gather(const QStringList& specs)
    {
        for (const QString& spec : specs)
            addSpec(spec);
        return files_;
    }

private:
    QString absolute(const QString& spec) const
    {
        if (QDir::isAbsolutePath(spec) || zip_.BasePath.trimmed().isEmpty())
            return QFileInfo(spec).absoluteFilePath();
        return QDir(zip_.BasePath).absoluteFilePath(spec);
    }

    void addSpec(const QString& spec)
    {
        const QFileInfo info(absolute(spec));
        if (HasWildcard(info.fileName())) {
            walk(info.path(), {info.fileName()});
        } else if (info.isDir()) {
            if (zip_.RecurseSubDirs)
                walk(info.absoluteFilePath(), {});
            else if (zip_.StoreDirectories)
                add(info, true);
        } else if (info.isFile()) {
            add(info, false);
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
                add(info, info.isDir());
        }
    }

    void add(const QFileInfo& info, bool folder)
    {
        const QString source = info.absoluteFilePath();
        if (exclude_.contains(source))
            return;
        QString stored = info.fileName();
        if (zip_.StoreFolderNames) {
            const QString base =
                QDir(zip_.BasePath.trimmed().isEmpty() ? QDir::currentPath() : zip_.BasePath)
                    .absolutePath();
            stored = source.startsWith(base + u'/') ? source.mid(base.size() + 1) : source.mid(1);
        }
        if (folder)
            stored += u'/';
        files_.append({source, stored, folder, info.lastModified().toSecsSinceEpoch()});
    }

    const cZip& zip_;
    QStringList exclude_;
    QList<NewFile> files_;
};

} // namespace

namespace {

/// Writes the new archive into an open file.
class ZipWriter {
public:
    ZipWriter(const cZip& zip, int fd) : zip_(zip), w_(archive_write_new()), fd_(fd) {}

    bool open()
    {
        archive_write_set_format_zip(w_.get());
        archive_write_zip_set_compression_deflate(w_.get());
        if (zip_.Encrypt) {
            const std::optional<QString> password =
                zip_.PasswordRequest ? zip_.PasswordRequest() : std::nullopt;
            if (!password || password->isEmpty())
                return false;
            if (archive_write_set_options(w_.get(), "zip:encryption=traditional") != ARCHIVE_OK ||
                archive_write_set_passphrase(w_.get(), password->toUtf8().constData()) !=
                    ARCHIVE_OK)
                return false;
        }
        return archive_write_open_fd(w_.get(), fd_) == ARCHIVE_OK;
    }

    bool addFile(const NewFile& file)
    {
        std::unique_ptr<archive_entry, decltype(&archive_entry_free)> entry(archive_entry_new(),
                                                                            archive_entry_free);
        archive_entry_set_pathname_utf8(entry.get(), file.stored.toUtf8().constData());
        archive_entry_set_mtime(entry.get(), file.modified, 0);
        if (file.folder) {
            archive_entry_set_filetype(entry.get(), AE_IFDIR);
            archive_entry_set_perm(entry.get(), 0755);
            return archive_write_header(w_.get(), entry.get()) >= ARCHIVE_WARN;
        }
        QFile in(file.source);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        archive_entry_set_filetype(entry.get(), AE_IFREG);
        archive_entry_set_perm(entry.get(), 0644);
        if (zip_.ConvertCRLFToLF || zip_.ConvertLFToCRLF) {
            const QByteArray data =
                ConvertLineEnds(in.readAll(), zip_.ConvertCRLFToLF, zip_.ConvertLFToCRLF);
            archive_entry_set_size(entry.get(), data.size());
            return archive_write_header(w_.get(), entry.get()) >= ARCHIVE_WARN &&
                   archive_write_data(w_.get(), data.constData(), size_t(data.size())) ==
                       data.size();
        }
        archive_entry_set_size(entry.get(), in.size());
        if (archive_write_header(w_.get(), entry.get()) < ARCHIVE_WARN)
            return false;
        return copy(in);
    }

    /// Copies the entry the reader stands on, data included.
    bool addOld(archive* r, archive_entry* entry)
    {
        if (archive_write_header(w_.get(), entry) < ARCHIVE_WARN)
            return false;
        char buffer[65536];
        for (;;) {
            const la_ssize_t n = archive_read_data(r, buffer, sizeof buffer);
            if (n == 0)
                return true;
            if (n < 0 || archive_write_data(w_.get(), buffer, size_t(n)) != n)
                return false;
        }
    }

    bool close() { return archive_write_close(w_.get()) == ARCHIVE_OK; }

private:
    bool copy(QFile& in)
    {
        char buffer[65536];
        for (;;) {
            const qint64 n = in.read(buffer, sizeof buffer);
            if (n == 0)
                return true;
            if (n < 0 || archive_write_data(w_.get(), buffer, size_t(n)) != n)
                return false;
        }
    }

    const cZip& zip_;
    WriteHandle w_;
    int fd_;
};

bool MatchesAny(const QString& name, const QStringList& patterns)
{
    for (const QString& p : patterns) {
        const QString pattern = QFileInfo(p).isAbsolute() ? QFileInfo(p).fileName() : p;
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

bool cZip::Zip()
{
    return write(false);
}

bool cZip::Delete()
{
    return write(true);
}

bool cZip::write(bool deleting)
{
    if (ZipFile.trimmed().isEmpty())
        return false;
    const QString target = QFileInfo(ZipFile).absoluteFilePath();
    QTemporaryFile out(target + QStringLiteral(".tmp-XXXXXX"));
    if (!out.open())
        return false;

    const QList<NewFile> files =
        deleting ? QList<NewFile>()
                 : SpecGatherer(*this, {target, QFileInfo(out.fileName()).absoluteFilePath()})
                       .gather(specs_);
    QHash<QString, qsizetype> byName;
    for (qsizetype i = 0; i < files.size(); ++i) {
        // The library refuses two files under one stored name: no zip is made at all.
        if (byName.contains(files[i].stored))
            return false;
        byName.insert(files[i].stored, i);
    }

    QList<OldEntry> old;
    if (QFileInfo::exists(target)) {
        const std::optional<QList<OldEntry>> read = ReadOldEntries(target);
        if (!read)
            return false;
        old = *read;
    }
    // For each old entry: keep it (-1), drop it (-2), or replace it by a new file (>= 0).
    QList<qsizetype> plan;
    QList<bool> added(files.size(), false);
    for (const OldEntry& e : old) {
        const qsizetype i = byName.value(e.name, -1);
        if (deleting)
            plan.append(MatchesAny(e.name, specs_) ? -2 : -1);
        else if (i >= 0 && (!(UpdateOnlyIfNewer || FreshenFiles) || files[i].modified > e.modified))
            plan.append(i);
        else
            plan.append(-1);
        if (i >= 0)
            added[i] = true;
    }
    const bool anyChange =
        std::any_of(plan.begin(), plan.end(), [](qsizetype p) { return p != -1; }) ||
        (!FreshenFiles && std::count(added.begin(), added.end(), false) > 0);
    if (!anyChange)
        return false;

    ZipWriter writer(*this, out.handle());
    if (!writer.open())
        return false;
    const int total = int(plan.size() + files.size());
    int done = 0;
    auto step = [&](const QString& name) {
        if (Cancel && Cancel())
            return false;
        if (Progress)
            Progress(name, total ? 100 * ++done / total : 100);
        return true;
    };
    if (!old.isEmpty()) {
        ReadHandle r = OpenZip(target);
        archive_entry* entry = nullptr;
        for (qsizetype k = 0; r && k < plan.size(); ++k) {
            const int read = archive_read_next_header(r.get(), &entry);
            if ((read != ARCHIVE_OK && read != ARCHIVE_WARN) || !step(old[k].name))
                return false;
            if (plan[k] == -1 && !writer.addOld(r.get(), entry))
                return false;
            if (plan[k] >= 0 && !writer.addFile(files[plan[k]]))
                return false;
        }
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (added[i] || FreshenFiles)
            continue;
        if (!step(files[i].stored) || !writer.addFile(files[i]))
            return false;
    }
    if (!writer.close())
        return false;
    out.setPermissions(QFileInfo::exists(target)
                           ? QFile::permissions(target)
                           : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                 QFileDevice::ReadUser | QFileDevice::WriteUser |
                                 QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return ReplaceFileWith(out, target);
}
