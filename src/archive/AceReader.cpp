// The ACE listing, read from the archive's own headers in two passes (count, then
// events). Each header: CRC (2), size of the rest (2), type (1), flags (2), then the
// type's fields; a file header is followed by its packed data.
#include "archive/ArchiveReader.h"
#include "archive/ByteCursor.h"
#include "platform/FileAccess.h"
#include "platform/Prompts.h"

#include <QFile>

namespace {

constexpr quint16 AddSize = 0x0001;
constexpr quint16 ContinuedFromLast = 0x1000;
constexpr quint16 ContinuedToNext = 0x2000;
constexpr quint16 Password = 0x4000;
constexpr quint16 Solid = 0x8000;
constexpr quint16 MultiVolume = 0x0800;

/// The header flags as the ACE library reports them: continued from last 1, continued
/// to next 2, encrypted 4, solid 8.
quint32 LibraryFlags(quint16 headerFlags)
{
    return ((headerFlags & ContinuedFromLast) ? 1u : 0u) |
           ((headerFlags & ContinuedToNext) ? 2u : 0u) | ((headerFlags & Password) ? 4u : 0u) |
           ((headerFlags & Solid) ? 8u : 0u);
}

class AceWalk {
public:
    /// `prompts` null: errors end the walk silently.
    AceWalk(Prompts* prompts, const uchar* data, qint64 size)
        : prompts_(prompts), bytes_(data, size)
    {}

    /// Reads the main header; false when the file is not an ACE archive.
    bool OpenACEArchive(bool& multiVolume)
    {
        const quint16 size = (bytes_.skip(2), bytes_.u16());
        const qint64 body = bytes_.pos();
        const quint8 type = bytes_.u8();
        const quint16 flags = bytes_.u16();
        if (bytes_.failed() || type != 0 || bytes_.bytes(7) != "**ACE**")
            return false;
        multiVolume = flags & MultiVolume;
        bytes_.seek(body + size);
        return true;
    }

    /// The next file header, or false at the end or after a cancelled error.
    bool next(ArchiveEntry& entry)
    {
        while (bytes_.left() > 0) {
            const qint64 start = bytes_.pos();
            bytes_.clearFailure();
            bytes_.skip(2);
            const quint16 size = bytes_.u16();
            const qint64 body = bytes_.pos();
            const quint8 type = bytes_.u8();
            const quint16 flags = bytes_.u16();
            const quint32 packed = (flags & AddSize) ? bytes_.u32() : 0;
            if (type == 1)
                readFile(entry, flags, packed);
            if (bytes_.failed() || body + size > bytes_.size())
                return failed(start);
            bytes_.seek(body + size);
            bytes_.skip(packed);
            if (type == 1)
                return true;
        }
        return false;
    }

private:
    void readFile(ArchiveEntry& entry, quint16 flags, quint32 packed)
    {
        entry.CompSize = packed;
        entry.Size = bytes_.u32();
        const quint32 dosTime = bytes_.u32();
        entry.Attr = bytes_.u32();
        entry.Crc = bytes_.u32();
        entry.Method = bytes_.u8(); // technical info: type, quality, parameter
        bytes_.skip(3 + 2);         // rest of it, reserved
        const quint16 nameSize = bytes_.u16();
        SplitEntryPath(EntryNameText(bytes_.bytes(nameSize)), entry.path, entry.FileName);
        entry.Modified = DosDateToDate(quint16(dosTime >> 16), quint16(dosTime & 0xFFFF));
        entry.Flags = LibraryFlags(flags);
    }

    /// Reports a header that runs past the end; the walk ends there either way, since
    /// nothing after a broken header can be found again.
    bool failed(qint64 start)
    {
        bytes_.seek(bytes_.size());
        if (prompts_)
            prompts_->askRetryCancel(
                QStringLiteral("Error: 3. The archive ends inside a header at byte ") +
                    QString::number(start),
                QStringLiteral("GetAce"));
        return false;
    }

    Prompts* prompts_;
    ByteCursor bytes_;
};

} // namespace

void GetAce(ArchiveReader& archive)
{
    QFile file;
    if (!platform::openForReading(file, archive.ArchiveName) || file.size() == 0)
        return;
    const uchar* data = file.map(0, file.size());
    if (!data)
        return;
    bool multiVolume = false;
    qint64 count = 0;
    {
        // The counting pass reports nothing; the listing pass shows the error once.
        AceWalk counter(nullptr, data, file.size());
        if (!counter.OpenACEArchive(multiVolume))
            return;
        ArchiveEntry entry;
        while (counter.next(entry))
            ++count;
    }
    archive.FileCount = count;
    AceWalk walk(&archive.prompts(), data, file.size());
    walk.OpenACEArchive(multiVolume);
    ArchiveEntry entry;
    for (qint64 index = 1; walk.next(entry); ++index) {
        entry.Index = index;
        archive.raise(entry);
        entry = ArchiveEntry();
    }
}
