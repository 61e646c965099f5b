#pragma once

#include "archive/ArchiveEntry.h"
#include "common/LittleEndianBytes.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <ostream>
#include <utility>
#include <vector>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class TempTree;

using LeBytes = LittleEndianBytes;

[[nodiscard]] quint32 Crc32(const QByteArray& data);

/// One entry of a hand-built zip, stored as given (the method field is only a label).
struct ZipItem {
    ZipItem(QByteArray n, QByteArray d = {}, quint16 m = 0, quint16 f = 0)
        : name(std::move(n)), data(std::move(d)), method(m), flags(f)
    {}
    QByteArray name;
    QByteArray data;
    quint16 method = 0;
    quint16 flags = 0;
    quint16 date = 0x5A21; // 1 Jan 2025
    quint16 time = 0x6000; // 12:00:00
    quint32 externalAttr = 0;
    quint16 madeBy = 20;
    QByteArray comment;
    QByteArray extra;            ///< central-directory extra field
    bool saturatedSizes = false; ///< both size fields 0xFFFFFFFF (sizes in a ZIP64 extra)
};

/// A zip entry that is a symbolic link to `target`, as a Unix zip stores one.
inline ZipItem ZipLinkItem(const QByteArray& name, const QByteArray& target)
{
    ZipItem item{name, target};
    item.externalAttr = 0120777u << 16; // S_IFLNK | 0777 in the high half
    item.madeBy = 0x031E;               // made on Unix, version 3.0
    return item;
}

/// A zip with local headers, central directory and end record.
[[nodiscard]] QByteArray BuildZip(const QList<ZipItem>& items,
                                  const QByteArray& archiveComment = {});

/// A stored RAR 4 archive: marker, main header, file headers with data, end block.
struct RarItem {
    RarItem(QByteArray n, QByteArray d = {}, bool isFolder = false)
        : name(std::move(n)), data(std::move(d)), folder(isFolder)
    {}
    QByteArray name;
    QByteArray data;
    bool folder = false;
    quint32 dosTime = 0x5A216000; // date high word, time low word
};
[[nodiscard]] QByteArray BuildRar(const QList<RarItem>& items);

/// An ACE archive: main header, file headers each followed by its (stored) data.
struct AceItem {
    AceItem(QByteArray n, QByteArray d = {}, quint8 m = 0)
        : name(std::move(n)), data(std::move(d)), method(m)
    {}
    QByteArray name;
    QByteArray data;
    quint8 method = 0;
    quint16 flags = 0x0001; // the packed size is present
    quint32 dosTime = 0x5A216000;
};
[[nodiscard]] QByteArray BuildAce(const QList<AceItem>& items);

/// A cabinet's directory: header, one folder entry, the file entries.
struct CabItem {
    CabItem(QByteArray n, quint32 s = 0) : name(std::move(n)), size(s) {}
    QByteArray name;
    quint32 size = 0;
    quint16 date = 0x5A21;
    quint16 time = 0x6000;
    quint16 attr = 0x20;
};
[[nodiscard]] QByteArray BuildCab(const QList<CabItem>& items, quint16 compression);

/// Every event the archive's reader raises, in order; boxes go to `shown` when given.
[[nodiscard]] std::vector<ArchiveEntry> ReadEntries(const QString& path,
                                                    QStringList* shown = nullptr);

/// An entry as "path|name size/packed" followed by its method, flags and time, for
/// comparing whole entries.
[[nodiscard]] QString EntryLine(const ArchiveEntry& e);

/// What the window's archive reader gives for `path`: the names it collects, the count
/// line, and the details of one entry (empty when the entry is not found).
[[nodiscard]] QStringList EntryNames(const QString& path);
[[nodiscard]] QString CountText(const QString& path);
[[nodiscard]] QStringList EntryDetails(const QString& path, const QString& entry);

/// Every path below `root`, links not followed, relative and sorted.
[[nodiscard]] QStringList AllPaths(const QString& root);

/// Writes `bytes` as `name` in `tree`, kept as a seed of the `target` fuzzer too.
QString SeededFile(TempTree& tree, const QString& target, const QString& name,
                   const QByteArray& bytes);

/// True when `program` is on the PATH.
[[nodiscard]] bool HasTool(const QString& program);
/// Runs a program in `folder`; true when it exits with 0.
bool RunTool(const QString& folder, const QString& program, const QStringList& args);
