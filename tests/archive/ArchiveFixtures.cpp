#include "ArchiveFixtures.h"

#include "archive/ExamineArchive.h"
#include "common/FuzzSeeds.h"
#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>

quint32 Crc32(const QByteArray& data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : data) {
        crc ^= uchar(c);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

QByteArray BuildZip(const QList<ZipItem>& items, const QByteArray& archiveComment)
{
    LeBytes out;
    LeBytes central;
    for (const ZipItem& item : items) {
        const quint32 offset = quint32(out.bytes().size());
        const quint32 crc = Crc32(item.data);
        out.u32(0x04034B50).u16(20).u16(item.flags).u16(item.method).u16(item.time);
        out.u16(item.date).u32(crc).u32(item.data.size()).u32(item.data.size());
        out.u16(item.name.size()).u16(0).raw(item.name).raw(item.data);
        central.u32(0x02014B50).u16(item.madeBy).u16(20).u16(item.flags).u16(item.method);
        const quint32 size = item.saturatedSizes ? 0xFFFFFFFFu : quint32(item.data.size());
        central.u16(item.time).u16(item.date).u32(crc).u32(size).u32(size);
        central.u16(item.name.size()).u16(item.extra.size()).u16(item.comment.size());
        central.u16(0).u16(0).u32(item.externalAttr).u32(offset).raw(item.name);
        central.raw(item.extra).raw(item.comment);
    }
    const quint32 cdOffset = quint32(out.bytes().size());
    out.raw(central.bytes());
    out.u32(0x06054B50).u16(0).u16(0).u16(items.size()).u16(items.size());
    out.u32(central.bytes().size()).u32(cdOffset).u16(archiveComment.size()).raw(archiveComment);
    return out.bytes();
}

namespace {

/// A RAR 4 block: CRC-16 (low half of the CRC-32 of the rest), then the rest.
QByteArray RarBlock(const QByteArray& rest)
{
    LeBytes b;
    b.u16(Crc32(rest) & 0xFFFF).raw(rest);
    return b.bytes();
}

} // namespace

QByteArray BuildRar(const QList<RarItem>& items)
{
    LeBytes out;
    out.raw(QByteArray("Rar!\x1a\x07\x00", 7));
    out.raw(RarBlock(LeBytes().u8(0x73).u16(0).u16(13).u16(0).u32(0).bytes()));
    for (const RarItem& item : items) {
        LeBytes h;
        h.u8(0x74).u16(item.folder ? 0x80E0 : 0x8000).u16(32 + item.name.size());
        h.u32(item.data.size()).u32(item.data.size()).u8(2).u32(Crc32(item.data));
        h.u32(item.dosTime).u8(20).u8(0x30).u16(item.name.size());
        h.u32(item.folder ? 0x10 : 0x20).raw(item.name);
        out.raw(RarBlock(h.bytes())).raw(item.data);
    }
    out.raw(RarBlock(LeBytes().u8(0x7B).u16(0x4000).u16(7).bytes()));
    return out.bytes();
}

QByteArray BuildAce(const QList<AceItem>& items)
{
    auto header = [](const QByteArray& rest) {
        LeBytes b;
        b.u16(Crc32(rest) & 0xFFFF).u16(rest.size()).raw(rest);
        return b.bytes();
    };
    LeBytes out;
    out.raw(header(LeBytes()
                       .u8(0)
                       .u16(0)
                       .raw("**ACE**")
                       .u8(20)
                       .u8(20)
                       .u8(0)
                       .u8(0)
                       .u32(0)
                       .u32(0)
                       .u32(0)
                       .bytes()));
    for (const AceItem& item : items) {
        LeBytes h;
        h.u8(1).u16(item.flags).u32(item.data.size()).u32(item.data.size()).u32(item.dosTime);
        h.u32(0x20).u32(Crc32(item.data)).u8(item.method).u8(0).u16(0).u16(0);
        h.u16(item.name.size()).raw(item.name);
        out.raw(header(h.bytes())).raw(item.data);
    }
    return out.bytes();
}

QByteArray BuildCab(const QList<CabItem>& items, quint16 compression)
{
    LeBytes entries;
    for (const CabItem& item : items) {
        entries.u32(item.size).u32(0).u16(0).u16(item.date).u16(item.time).u16(item.attr);
        entries.raw(item.name).u8(0);
    }
    const quint32 first = 36 + 8;
    LeBytes out;
    out.raw("MSCF").u32(0).u32(first + entries.bytes().size()).u32(0).u32(first).u32(0);
    out.u8(3).u8(1).u16(1).u16(items.size()).u16(0x1234).u16(0).u16(0);
    out.u32(first + entries.bytes().size()).u16(0).u16(compression);
    out.raw(entries.bytes());
    return out.bytes();
}

std::vector<ArchiveEntry> ReadEntries(const QString& path, QStringList* shown)
{
    ScriptedPrompts prompts;
    std::vector<ArchiveEntry> entries;
    ForEachArchiveEntry(path, prompts, [&](const ArchiveEntry& e) { entries.push_back(e); });
    if (shown)
        *shown = prompts.shownTexts();
    return entries;
}

QString EntryLine(const ArchiveEntry& e)
{
    return QStringLiteral("%1|%2 %3/%4 m%5 f%6 %7")
        .arg(e.path, e.FileName)
        .arg(e.Size)
        .arg(e.CompSize)
        .arg(e.Method)
        .arg(e.Flags)
        .arg(e.Modified.toString(Qt::ISODate));
}

QStringList EntryNames(const QString& path)
{
    ScriptedPrompts prompts;
    return ArchiveEntryNames(path, prompts);
}

QString CountText(const QString& path)
{
    ScriptedPrompts prompts;
    ArchiveSession session;
    session.request = ArchiveRequest::Count;
    ExamineArchive(path, session, prompts);
    return ArchiveCountText(session);
}

QStringList EntryDetails(const QString& path, const QString& entry)
{
    ScriptedPrompts prompts;
    ArchiveSession session;
    session.request = ArchiveRequest::Details;
    session.entryName = entry;
    ExamineArchive(path, session, prompts);
    return session.Details;
}

QStringList AllPaths(const QString& root)
{
    QStringList all;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << QDir(root).relativeFilePath(it.next());
    all.sort();
    return all;
}

QString SeededFile(TempTree& tree, const QString& target, const QString& name,
                   const QByteArray& bytes)
{
    SaveFuzzSeed(target, name, bytes);
    return tree.file(name, bytes);
}

bool HasTool(const QString& program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool RunTool(const QString& folder, const QString& program, const QStringList& args)
{
    QProcess p;
    p.setWorkingDirectory(folder);
    p.start(program, args);
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
