// The Microsoft Cabinet directory reader: header, first folder entry, file entries.
// Failing steps pass silently, as the format's readers always did.
#include "archive/ArchiveReader.h"
#include "archive/ByteCursor.h"
#include "platform/FileAccess.h"

#include <QFile>

namespace {

constexpr qint64 HeaderSize = 36;
constexpr qint64 FileEntrySize = 276; // 16 fixed bytes and a 260-byte name area
constexpr quint16 NameIsUtf8 = 0x80;

struct CabHeader {
    quint32 firstFileOffset = 0;
    quint16 folders = 0;
    quint16 files = 0;
    quint16 flags = 0;
};

CabHeader ReadHeader(const QByteArray& bytes)
{
    ByteCursor h(reinterpret_cast<const uchar*>(bytes.constData()), bytes.size());
    CabHeader header;
    h.skip(16);
    header.firstFileOffset = h.u32();
    h.skip(6);
    header.folders = h.u16();
    header.files = h.u16();
    header.flags = h.u16();
    return header;
}

} // namespace

void GetCab(ArchiveReader& archive)
{
    QFile file;
    if (!platform::openForReading(file, archive.ArchiveName))
        return;
    const QByteArray headerBytes = file.read(HeaderSize);
    if (!headerBytes.startsWith("MSCF"))
        return;
    const CabHeader header = ReadHeader(headerBytes);
    archive.FileCount = header.files;
    if (header.files == 0)
        return;

    quint32 method = 0;
    if (header.folders != 0) {
        const QByteArray folder = file.read(8);
        ByteCursor f(reinterpret_cast<const uchar*>(folder.constData()), folder.size());
        f.skip(6);
        method = f.u16();
    }

    // The file entries are read from a mapping: one system call, not one per entry.
    const qint64 size = file.size();
    const uchar* data = file.map(0, size);
    if (!data)
        return;
    qint64 offset = header.firstFileOffset;
    for (qint64 index = 1; index <= archive.FileCount; ++index) {
        // Past the end every further entry would be empty: stop there.
        if (offset >= size)
            return;
        ByteCursor r(data + offset, qMin(FileEntrySize, size - offset));
        ArchiveEntry entry;
        entry.Index = index;
        entry.Size = r.u32();
        r.skip(6); // offset in folder, folder index
        const quint16 date = r.u16();
        const quint16 time = r.u16();
        entry.Attr = r.u16();
        QByteArray name = r.bytes(FileEntrySize - 16);
        const qsizetype nul = name.indexOf('\0');
        if (nul >= 0)
            name.truncate(nul);
        const QString text =
            (entry.Attr & NameIsUtf8) ? QString::fromUtf8(name) : EntryNameText(name);
        SplitEntryPath(text, entry.path, entry.FileName);
        entry.Modified = DosDateToDate(date, time);
        entry.Method = method;
        entry.Flags = header.flags;
        archive.raise(entry);
        offset += 16 + name.size() + 1;
    }
}
