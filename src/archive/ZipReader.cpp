// The ZIP directory reader: the end record is found in the last 4096 bytes, the
// central directory is read record by record; local headers are never read.
#include "archive/ArchiveReader.h"
#include "archive/ByteCursor.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <QFile>
#include <optional>

namespace {

constexpr qint64 TailSize = 4096;
constexpr quint32 Saturated32 = 0xFFFFFFFFu;

struct EndRecord {
    quint64 entries = 0;
    quint64 directoryOffset = 0;
    quint64 directorySize = 0;
    qint64 position = 0; ///< where the (ZIP64) end record starts in the file
};

constexpr quint32 DosFolderAttribute = 0x10;
constexpr quint16 UnicodePathId = 0x7075;

quint32 Crc32Of(const QByteArray& bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= uchar(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

/// The entry name: the Unicode path extra field when it is there and still belongs to
/// the stored name (its CRC matches), else the stored bytes decoded as file names are,
/// so a name that is not UTF-8 keeps its bytes on the way to extraction.
QString EntryName(const QByteArray& stored, const QByteArray& extra)
{
    ByteCursor x(reinterpret_cast<const uchar*>(extra.constData()), extra.size());
    while (x.left() >= 4) {
        const quint16 id = x.u16();
        const quint16 length = x.u16();
        if (id != UnicodePathId || length < 5 || x.left() < length) {
            x.skip(length);
            continue;
        }
        const quint8 version = x.u8();
        const quint32 crc = x.u32();
        const QByteArray utf8 = x.bytes(length - 5);
        if (version == 1 && crc == Crc32Of(stored) && !utf8.isEmpty())
            return platform::decodeFileName(utf8);
        break;
    }
    return platform::decodeFileName(stored);
}

/// A folder by its DOS attribute (from DOS, Windows or OS/2 hosts) with no separator
/// at its end is given one, so it lists as the folder it is.
void MarkDosFolder(quint16 madeBy, quint32 attr, QString& name)
{
    const quint8 host = madeBy >> 8;
    const bool dosHost = host == 0 || host == 6 || host == 11 || host == 14;
    if (dosHost && (attr & DosFolderAttribute) && !name.isEmpty() && !name.endsWith(u'/') &&
        !name.endsWith(u'\\'))
        name += name.contains(u'\\') && !name.contains(u'/') ? u'\\' : u'/';
}

/// Counts the failing steps and shows their boxes; after a few it ends the listing.
/// Without an archive (a lookup, not a listing) the first failure ends it silently.
class StepErrors {
public:
    explicit StepErrors(const ArchiveReader* archive) : archive_(archive) {}

    /// Reports a failed step; false when the listing must stop.
    bool report(int line)
    {
        if (!archive_)
            return false;
        ++count_;
        if (count_ > MaxReaderErrorBoxes) {
            archive_->prompts().message(DamagedArchiveText(archive_->ArchiveName));
            return false;
        }
        archive_->prompts().message(QStringLiteral("Input past end of file\r\n"
                                                   "in cArchive.GetZip component at line ") +
                                    QString::number(line));
        return true;
    }

private:
    const ArchiveReader* archive_;
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
    r.skip(8);
    end.directorySize = r.u64();
    end.directoryOffset = r.u64();
    end.position = qint64(recordPos);
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
    cd.skip(4); // signature (not checked)
    const quint16 madeBy = cd.u16();
    cd.skip(2); // version needed
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
    const QByteArray stored = cd.bytes(nameLength);
    const QByteArray extra = cd.bytes(extraLength);
    QString name = EntryName(stored, extra);
    MarkDosFolder(madeBy, entry.Attr, name);
    SplitEntryPath(name, entry.path, entry.FileName);
    if (entry.Size == Saturated32 || entry.CompSize == Saturated32)
        ApplyZip64Extra(extra, entry);
    if (commentLength)
        entry.Comments = EntryNameText(cd.bytes(commentLength));
    entry.Modified = dates.of(date, time);
    return !cd.failed();
}

/// Reads only the whole name of one central-directory record; false when part of the
/// record was missing. Reads exactly what ReadCentralRecord reads.
bool ReadCentralName(ByteCursor& cd, QString& name, quint64* localOffset = nullptr)
{
    cd.clearFailure();
    cd.skip(4); // signature
    const quint16 madeBy = cd.u16();
    cd.skip(22); // version needed to sizes
    const quint16 nameLength = cd.u16();
    const quint16 extraLength = cd.u16();
    const quint16 commentLength = cd.u16();
    cd.skip(4); // disk number, internal attributes
    const quint32 attr = cd.u32();
    const quint32 offset = cd.u32();
    if (localOffset)
        *localOffset = offset;
    const QByteArray stored = cd.bytes(nameLength);
    name = EntryName(stored, cd.bytes(extraLength));
    MarkDosFolder(madeBy, attr, name);
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
    e.skip(2);
    const quint32 directorySize = e.u32();
    const quint32 directoryOffset = e.u32();
    if (e.failed() && !errors.report(4))
        return std::nullopt;
    EndRecord end{entries, directoryOffset, directorySize, start + at};
    ApplyZip64End(file, start + at, end,
                  entries == 0xFFFF || directoryOffset == Saturated32 ||
                      directorySize == Saturated32);
    return end;
}

bool DirectoryStartsAt(QFile& file, quint64 offset)
{
    return offset < quint64(file.size()) && file.seek(qint64(offset)) &&
           file.read(4) == QByteArrayLiteral("PK\x01\x02");
}

/// Where the central directory really starts. Bytes put in front of a zip (a
/// self-extracting stub, a prepended header) leave every stored offset short by their
/// length; the directory then ends where the end record begins, so its start is found
/// from its size, as unzip does.
quint64 DirectoryStart(QFile& file, const EndRecord& end)
{
    if (end.entries == 0 || end.directorySize > quint64(end.position))
        return end.directoryOffset;
    const quint64 implied = quint64(end.position) - end.directorySize;
    if (implied != end.directoryOffset && !DirectoryStartsAt(file, end.directoryOffset) &&
        DirectoryStartsAt(file, implied))
        return implied;
    return end.directoryOffset;
}

/// The file from the directory's offset to its end: a mapping, or a copy where mapping
/// fails.
class DirectoryBytes {
public:
    DirectoryBytes(QFile& file, quint64 offset)
    {
        const qint64 size = file.size();
        const qint64 from = qint64(qMin<quint64>(offset, quint64(size)));
        data_ = from < size ? file.map(from, size - from) : nullptr;
        length_ = data_ ? size - from : 0;
        if (!data_ && from < size && file.seek(from)) {
            copy_ = file.read(size - from);
            data_ = reinterpret_cast<const uchar*>(copy_.constData());
            length_ = copy_.size();
        }
    }
    [[nodiscard]] ByteCursor cursor() const { return ByteCursor(data_, length_); }

private:
    const uchar* data_ = nullptr;
    qint64 length_ = 0;
    QByteArray copy_;
};

/// Raises one event per central-directory record.
void ListCentralDirectory(ArchiveReader& archive, QFile& file, quint64 offset, StepErrors& errors)
{
    const DirectoryBytes bytes(file, offset);
    ByteCursor cd = bytes.cursor();
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

void GetZip(ArchiveReader& archive)
{
    QFile file;
    if (!platform::openForReading(file, archive.ArchiveName))
        return;
    StepErrors errors(&archive);
    const std::optional<EndRecord> end = FindEndRecord(file, errors);
    if (!end)
        return;
    archive.FileCount = qint64(qMin<quint64>(end->entries, quint64(1) << 62));
    if (archive.CountOnly) {
        archive.Counted = true;
        return;
    }
    ListCentralDirectory(archive, file, DirectoryStart(file, *end), errors);
}

std::optional<quint64> ZipLocalHeaderOffset(const QString& zipPath, const QString& entryName)
{
    QFile file;
    if (!platform::openForReading(file, zipPath))
        return std::nullopt;
    StepErrors errors(nullptr);
    const std::optional<EndRecord> end = FindEndRecord(file, errors);
    if (!end)
        return std::nullopt;
    const quint64 start = DirectoryStart(file, *end);
    const DirectoryBytes bytes(file, start);
    ByteCursor cd = bytes.cursor();
    QString name;
    quint64 offset = 0;
    for (quint64 index = 0; index < end->entries; ++index) {
        if (!ReadCentralName(cd, name, &offset))
            return std::nullopt;
        if (name == entryName)
            return offset + (start - qMin(start, end->directoryOffset));
    }
    return std::nullopt;
}
