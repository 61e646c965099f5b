#include "archive/ExamineArchive.h"

#include "archive/ArchiveReader.h"
#include "archive/MethodNames.h"
#include "platform/Prompts.h"
#include "shared/TextHelpers.h"

#include <exception>
#include <optional>

bool IsArchiveExt(const QString& ext)
{
    return ext == QLatin1String("ace") || ext == QLatin1String("cab") ||
           ext == QLatin1String("rar") || ext == QLatin1String("zip");
}

namespace {

/// A format without compressed sizes (CAB) stores 0 there: its ratio is 0, not 100%.
float Ratio(const ArchiveEntry& entry)
{
    if (entry.Size == 0 || entry.CompSize == 0)
        return 0.0f;
    const float ratio = 1.0f - float(entry.CompSize) / float(entry.Size);
    return ratio < 0.0f ? 0.0f : ratio;
}

struct MethodText {
    QString text;
    bool encrypted = false;
};

MethodText MethodOf(const ArchiveEntry& entry)
{
    if (entry.ArchiveExt == QLatin1String("zip"))
        return {ZipMethodName(entry.Method, entry.Flags), (entry.Flags & 1) != 0};
    if (entry.ArchiveExt == QLatin1String("cab"))
        return {CabMethodName(entry.Method), false};
    if (entry.ArchiveExt == QLatin1String("rar"))
        return {RarMethodName(entry.Method, entry.Flags), (entry.Flags & 4) != 0};
    if (entry.ArchiveExt == QLatin1String("ace"))
        return {AceMethodName(entry.Method), (entry.Flags & 4) != 0};
    return {};
}

QString ModifiedText(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QString::asprintf("%02d-", d.day()) + MonthNames().value(d.month() - 1) +
           QString::asprintf("-%02d %02d:%02d", d.year() % 100, t.hour(), t.minute());
}

/// Runs the reader; gives the count when the ZIP reader stopped after counting.
std::optional<qint64> RunReader(const QString& path, const QString& ext, bool countOnly,
                                const std::function<void(const QString&)>& nameFound,
                                Prompts& prompts,
                                const std::function<void(const ArchiveEntry&)>& found)
{
    ArchiveReader archive(prompts);
    archive.ArchiveName = path;
    archive.ArchiveExt = ext;
    archive.CountOnly = countOnly;
    archive.NameFound = nameFound;
    archive.FileFound = found;
    archive.GetInfo();
    if (archive.Counted)
        return archive.FileCount;
    return std::nullopt;
}

} // namespace

QString ArchiveExtOf(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot < 0 || dot == path.size() - 1)
        return QString();
    return path.mid(dot + 1).toLower();
}

void ExamineArchive(const QString& path, ArchiveSession& session, Prompts& prompts)
{
    const QString ext = ArchiveExtOf(path);
    if (!IsArchiveExt(ext))
        return;
    const bool counting = session.request == ArchiveRequest::Count;
    std::function<void(const QString&)> collect;
    if (session.request == ArchiveRequest::Collect)
        collect = [&session](const QString& name) { session.collectedNames.append(name); };
    const std::optional<qint64> counted =
        RunReader(path, ext, counting, collect, prompts, [&](const ArchiveEntry& entry) {
            Archive_FileFound(entry, path, session, prompts);
        });
    // The ZIP reader counts without events.
    if (counted)
        session.count = ArchiveCount{*counted, false};
}

QString ArchiveCountText(const ArchiveSession& session)
{
    if (!session.count)
        return QStringLiteral("X");
    return (session.count->fromEntryTotal ? QStringLiteral("X....") : QStringLiteral("X")) +
           NumText(session.count->files);
}

void Archive_FileFound(const ArchiveEntry& entry, const QString& archivePath,
                       ArchiveSession& session, Prompts& prompts)
{
    try {
        if (session.request == ArchiveRequest::Count) {
            session.count = ArchiveCount{entry.Total, true};
            return;
        }
        if (entry.FileName.isEmpty())
            return;
        const QString full = entry.path + entry.FileName;
        if (session.request == ArchiveRequest::Collect)
            session.collectedNames.append(full);
        else if (session.entryName == full)
            session.Details = EntryDetailValues(entry, archivePath);
    } catch (const std::exception&) {
        prompts.message(QStringLiteral("error expanding file"));
    }
}

const QStringList& ArchiveEntryCaptions()
{
    static const QStringList captions{
        QStringLiteral("Source File "), QStringLiteral("File Name "),
        QStringLiteral("Total Files "), QStringLiteral("Current File "),
        QStringLiteral("Path "),        QStringLiteral("ArchiveExt "),
        QStringLiteral("Modified "),    QStringLiteral("Size "),
        QStringLiteral("CompSize "),    QStringLiteral("Ratio "),
        QStringLiteral("Method "),      QStringLiteral("sMethod "),
        QStringLiteral("Encrypt "),     QStringLiteral("Comments ")};
    return captions;
}

QStringList EntryDetailValues(const ArchiveEntry& entry, const QString& archivePath)
{
    const MethodText method = MethodOf(entry);
    QString path = entry.path;
    path.replace(u'/', u'\\');
    return {archivePath,
            entry.FileName,
            NumText(entry.Total),
            NumText(entry.Index),
            path,
            entry.ArchiveExt,
            ModifiedText(entry.Modified),
            SizeText(double(entry.Size)),
            SizeText(double(entry.CompSize)),
            QString::asprintf("%04.1f%%", double(Ratio(entry)) * 100.0),
            NumText(entry.Method),
            method.text,
            method.encrypted ? QStringLiteral("True") : QStringLiteral("False"),
            entry.Comments};
}

QStringList ArchiveEntryNames(const QString& path, Prompts& prompts)
{
    ArchiveSession session;
    ExamineArchive(path, session, prompts);
    return session.collectedNames;
}

void ForEachArchiveEntry(const QString& path, Prompts& prompts,
                         const std::function<void(const ArchiveEntry&)>& found)
{
    const QString ext = ArchiveExtOf(path);
    if (IsArchiveExt(ext))
        RunReader(path, ext, false, {}, prompts, found);
}

void ForEachArchiveName(const QString& path, Prompts& prompts,
                        const std::function<void(const QString&)>& found)
{
    const QString ext = ArchiveExtOf(path);
    if (!IsArchiveExt(ext))
        return;
    RunReader(path, ext, false, found, prompts, [&found](const ArchiveEntry& entry) {
        if (!entry.FileName.isEmpty())
            found(entry.path + entry.FileName);
    });
}
