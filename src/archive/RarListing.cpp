// The RAR listing over libarchive, in two passes like the RAR library's callers: the
// first counts, the second raises the events. libarchive gives no packed size, method,
// flags or CRC: those come from the archive's block headers, read by our own reader.
#include "archive/ArchiveReader.h"
#include "archive/RarHeaders.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <QFile>
#include <archive.h>
#include <archive_entry.h>
#include <memory>

namespace {

struct ArchiveCloser {
    void operator()(archive* a) const { archive_read_free(a); }
};
using ReadHandle = std::unique_ptr<archive, ArchiveCloser>;

ReadHandle OpenRARArchive(const QString& name)
{
    ReadHandle a(archive_read_new());
    if (!a)
        return nullptr;
    archive_read_support_format_rar(a.get());
    archive_read_support_format_rar5(a.get());
    if (archive_read_open_filename(a.get(), platform::encodeFileName(name).constData(), 65536) !=
        ARCHIVE_OK)
        return nullptr;
    return a;
}

QString EntryPathName(archive_entry* entry)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry))
        return QString::fromUtf8(utf8);
    const char* raw = archive_entry_pathname(entry);
    return raw ? QString::fromLocal8Bit(raw) : QString();
}

/// The DOS-style wall-clock time of the entry, with no time-zone shift.
QDateTime EntryTime(archive_entry* entry)
{
    if (!archive_entry_mtime_is_set(entry))
        return DosDateToDate(0, 0);
    const QDateTime local = QDateTime::fromSecsSinceEpoch(archive_entry_mtime(entry));
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

/// One pass over the headers. `visit` gets each entry; false when the user cancelled.
template <typename Visit> bool ReadRarHeaders(const ArchiveReader& owner, Visit visit)
{
    ReadHandle a = OpenRARArchive(owner.ArchiveName);
    if (!a)
        return true;
    int boxes = 0;
    for (;;) {
        archive_entry* entry = nullptr;
        const int r = archive_read_next_header(a.get(), &entry);
        if (r == ARCHIVE_EOF)
            return true;
        bool fatal = r == ARCHIVE_FATAL;
        if (r >= ARCHIVE_WARN) {
            visit(entry);
            const int skipped = archive_read_data_skip(a.get());
            if (skipped >= ARCHIVE_WARN)
                continue;
            fatal = skipped == ARCHIVE_FATAL;
        }
        if (++boxes > MaxReaderErrorBoxes) {
            owner.prompts().message(DamagedArchiveText(owner.ArchiveName),
                                    QStringLiteral("GetRar"));
            return false;
        }
        const QString text = QStringLiteral("Error: ") + QString::number(archive_errno(a.get())) +
                             QStringLiteral(". ") +
                             QString::fromUtf8(archive_error_string(a.get()));
        if (owner.prompts().askRetryCancel(text, QStringLiteral("GetRar")) !=
            Prompts::Answer::Retry)
            return false;
        // After a fatal error libarchive reads nothing more: the pass ends with what it has.
        if (fatal)
            return true;
    }
}

/// The block headers' facts of every file entry, in order; none when unreadable.
std::vector<RarFileFacts> ReadFacts(const QString& path)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return {};
    const qint64 size = file.size();
    if (const uchar* data = size > 0 ? file.map(0, size) : nullptr)
        return ReadRarFileFacts(data, size);
    const QByteArray bytes = file.readAll();
    return ReadRarFileFacts(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
}

} // namespace

void GetRar(ArchiveReader& archive)
{
    qint64 count = 0;
    if (!ReadRarHeaders(archive, [&](archive_entry*) { ++count; }))
        return;
    archive.FileCount = count;
    // Matched by position: only when both readers see the same entries.
    std::vector<RarFileFacts> facts = ReadFacts(archive.ArchiveName);
    if (qint64(facts.size()) != count)
        facts.clear();
    qint64 index = 0;
    ReadRarHeaders(archive, [&](archive_entry* header) {
        ArchiveEntry entry;
        entry.Index = ++index;
        SplitEntryPath(EntryPathName(header), entry.path, entry.FileName);
        entry.Modified = EntryTime(header);
        entry.Size = archive_entry_size_is_set(header) ? quint64(archive_entry_size(header)) : 0;
        entry.Attr = archive_entry_mode(header);
        entry.Flags = archive_entry_is_encrypted(header) ? 4 : 0;
        if (!facts.empty()) {
            const RarFileFacts& own = facts[size_t(index - 1)];
            entry.Method = own.method;
            entry.CompSize = own.packedSize;
            entry.Attr = own.attributes;
            entry.Flags |= own.flags;
            entry.Crc = own.crc;
        }
        archive.raise(entry);
    });
}
