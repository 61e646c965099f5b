// The ZIP directory reader: the end record is found in the last 4096 bytes, the
// central directory is read record by record; local headers are never read.
#include "archive/ByteCursor.h"
#include "archive/cArchive.h"
#include "platform/FileAccess.h"
#include "platform/Prompts.h"

#include <QFile>
#include <optional>

namespace {

constexpr qint64 TailSize = 4096;
constexpr quint32 Saturated32 = 0xFFFFFFFFu;

struct EndRecord {
    quint64 entries = 0;
    quint64 directoryOffset = 0;
};

/// Counts the failing steps and shows their boxes; after a few it ends the listing.
class StepErrors {
public:
    explicit StepErrors(const cArchive& archive) : archive_(archive) {}

    /// Reports a failed step; false when the listing must stop.
    bool report(int line)
    {
        ++count_;
        if (count_ > MaxReaderErrorBoxes) {
            archive_.prompts().message(DamagedArchiveText(archive_.ArchiveName));
            return false;
        }
        archive_.prompts().message(QStringLiteral("Input past end of file\r\n"
                                                  "in cArchive.GetZip component at line ") +
                                   QString::number(line));
        return true;
    }

private:
    const cArchive& archive_;
    int count_ = 0;
};

qint64 LastEndSignature(const QByteArray& tail)
{
    return tail.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
}

/// Replaces saturated fields of the end record by those of the ZIP64 end record that
/// the locator just before it points to, when there is one.
void ApplyZip64End(QFile& file, qint64 endPos, EndRecord& end, bool saturated)
{
    if (!saturated || endPos < 20 || !file.seek(endPos - 20))
        return;
    const QByteArray locator = file.read(20);
    if (locator.size() < 20 || !locator.startsWith(QByteArrayLiteral("PK\x06\x07")))
        return;
    ByteCursor l(reinterpret_cast<const uchar*>(locator.constData()), locator.size());
    l.skip(8);
    const quint64 recordPos = l.u64();
    if (recordPos > quint64(file.size()) || !file.seek(qint64(recordPos)))
        return;
    const QByteArray record = file.read(56);
    if (record.size() < 56 || !record.startsWith(QByteArrayLiteral("PK\x06\x06")))
        return;
    ByteCursor r(reinterpret_cast<const uchar*>(record.constData()), record.size());
    r.skip(24);
    end.entries = r.u64();
    r.skip(16);
    end.directoryOffset = r.u64();
}

/// Sizes too large for the record's 32-bit fields sit in the ZIP64 extra field, in
/// this order, only for the fields that are saturated.
void ApplyZip64Extra(const QByteArray& extra, ArchiveEntry& entry)
{
    ByteCursor x(reinterpret_cast<const uchar*>(extra.constData()), extra.size());
    while (x.left() >= 4) {
        const quint16 id = x.u16();
        const quint16 length = x.u16();
        if (id != 1) {
            x.skip(length);
            continue;
        }
        ByteCursor field(reinterpret_cast<const uchar*>(extra.constData()) + x.pos(),
                         qMin<qint64>(length, x.left()));
        if (entry.Size == Saturated32 && field.left() >= 8)
            entry.Size = field.u64();
        if (entry.CompSize == Saturated32 && field.left() >= 8)
            entry.CompSize = field.u64();
        return;
    }
}

/// DosDateToDate for runs of entries that share a time, as entries zipped together do.
class DateCache {
public:
    const QDateTime& of(quint16 date, quint16 time)
    {
        if (!last_.isValid() || date != date_ || time != time_) {
            date_ = date;
            time_ = time;
            last_ = DosDateToDate(date, time);
        }
        return last_;
    }

private:
    quint16 date_ = 0;
    quint16 time_ = 0;
    QDateTime last_;
};

/// Reads one central-directory record into `entry`; false when part of it was missing.
bool ReadCentralRecord(ByteCursor& cd, DateCache& dates, ArchiveEntry& entry)
{
    cd.clearFailure();
    cd.skip(8); // signature (not checked) and the two versions
    entry.Flags = cd.u16();
    entry.Method = cd.u16();
    const quint16 time = cd.u16();
    const quint16 date = cd.u16();
    entry.Crc = cd.u32();
    entry.CompSize = cd.u32();
    entry.Size = cd.u32();
    const quint16 nameLength = cd.u16();
    const quint16 extraLength = cd.u16();
    const quint16 commentLength = cd.u16();
    cd.skip(4); // disk number, internal attributes
    entry.Attr = cd.u32();
    cd.skip(4); // local header offset
    SplitEntryPath(EntryNameText(cd.bytes(nameLength)), entry.path, entry.FileName);
    const QByteArray extra = cd.bytes(extraLength);
    if (entry.Size == Saturated32 || entry.CompSize == Saturated32)
        ApplyZip64Extra(extra, entry);
    if (commentLength)
        entry.Comments = EntryNameText(cd.bytes(commentLength));
    entry.Modified = dates.of(date, time);
    return !cd.failed();
}

/// Reads only the whole name of one central-directory record; false when part of the
/// record was missing. Reads exactly what ReadCentralRecord reads.
bool ReadCentralName(ByteCursor& cd, QString& name)
{
    cd.clearFailure();
    cd.skip(28); // signature to sizes
    const quint16 nameLength = cd.u16();
    const quint16 extraLength = cd.u16();
    const quint16 commentLength = cd.u16();
    cd.skip(12); // disk number to local header offset
    name = EntryNameText(cd.bytes(nameLength));
    cd.bytes(extraLength);
    cd.bytes(commentLength);
    return !cd.failed();
}

/// A folder entry has no file name after its last separator ("/", else "\").
bool IsFolderName(const QString& name)
{
    if (name.isEmpty())
        return true;
    const QChar last = name.back();
    return last == u'/' || (last == u'\\' && !name.contains(u'/'));
}

/// Finds the end record in the file's last 4096 bytes (searched from offset 1 in a short
/// file, so an empty archive's end record at offset 0 is missed) and follows a ZIP64
/// end record. Nothing when there is none or the listing must stop.
std::optional<EndRecord> FindEndRecord(QFile& file, StepErrors& errors)
{
    const qint64 size = file.size();
    const qint64 start = size > TailSize ? size - TailSize : 1;
    if (size == 0 || !file.seek(start))
        return std::nullopt;
    const QByteArray tail = file.read(TailSize);
    const qint64 at = LastEndSignature(tail);
    if (at < 0)
        return std::nullopt;
    ByteCursor e(reinterpret_cast<const uchar*>(tail.constData()) + at + 4, tail.size() - at - 4);
    e.skip(4);
    const quint16 entries = e.u16();
    e.skip(6);
    const quint32 directoryOffset = e.u32();
    if (e.failed() && !errors.report(4))
        return std::nullopt;
    EndRecord end{entries, directoryOffset};
    ApplyZip64End(file, start + at, end, entries == 0xFFFF || directoryOffset == Saturated32);
    return end;
}

/// Raises one event per central-directory record, read from a mapping of the file from
/// the directory's offset to its end (a copy where mapping fails).
void ListCentralDirectory(cArchive& archive, QFile& file, quint64 offset, StepErrors& errors)
{
    const qint64 size = file.size();
    const qint64 from = qint64(qMin<quint64>(offset, quint64(size)));
    const uchar* data = from < size ? file.map(from, size - from) : nullptr;
    qint64 length = data ? size - from : 0;
    QByteArray copy;
    if (!data && from < size && file.seek(from)) {
        copy = file.read(size - from);
        data = reinterpret_cast<const uchar*>(copy.constData());
        length = copy.size();
    }
    ByteCursor cd(data, length);
    if (archive.NameFound) {
        QString name;
        for (qint64 index = 1; index <= archive.FileCount; ++index) {
            if (!ReadCentralName(cd, name) && !errors.report(6))
                return;
            if (!IsFolderName(name))
                archive.NameFound(name);
        }
        return;
    }
    DateCache dates;
    for (qint64 index = 1; index <= archive.FileCount; ++index) {
        ArchiveEntry entry;
        entry.Index = index;
        if (!ReadCentralRecord(cd, dates, entry) && !errors.report(6))
            return;
        archive.raise(entry);
    }
}

} // namespace

void GetZip(cArchive& archive)
{
    QFile file;
    if (!platform::openForReading(file, archive.ArchiveName))
        return;
    StepErrors errors(archive);
    const std::optional<EndRecord> end = FindEndRecord(file, errors);
    if (!end)
        return;
    archive.FileCount = qint64(qMin<quint64>(end->entries, quint64(1) << 62));
    if (archive.CountOnly) {
        archive.Counted = true;
        return;
    }
    ListCentralDirectory(archive, file, end->directoryOffset, errors);
}
