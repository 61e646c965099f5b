#include "tools/FileInfo.h"

#include "archive/ExamineArchive.h"
#include "platform/Attributes.h"
#include "platform/MimeIcon.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "tools/PeVersionReader.h"
#include "trees/TreeTexts.h"

namespace {

using platform::FileAttribute;

QString truth(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

/// "5/3/2004 9:7:3" (with time) or "5/3/2004".
QString slashDate(const QDateTime& when, bool withTime)
{
    const QDate d = when.date();
    QString text = QStringLiteral("%1/%2/%3").arg(d.day()).arg(d.month()).arg(d.year());
    if (withTime) {
        const QTime t = when.time();
        text += QStringLiteral(" %1:%2:%3").arg(t.hour()).arg(t.minute()).arg(t.second());
    }
    return text;
}

const char* const VersionKeys[] = {"CompanyName",  "FileDescription", "FileVersion",
                                   "InternalName", "LegalCopyright",  "OriginalFilename",
                                   "ProductName",  "ProductVersion"};
const int VersionSlots[] = {0, 2, 3, 4, 7, 9, 10, 11};

} // namespace

const QStringList& FilePropertyLabels()
{
    static const QStringList labels{"Company Name ",       "CreationTime ",    "file Description ",
                                    "file Version ",       "Internal Name ",   "Last Access Time ",
                                    "Last Write Time ",    "Legal Copyright ", "file length ",
                                    "Original File Name ", "Product Name ",    "Product Version ",
                                    "File Type ",          "Icon Index "};
    return labels;
}

const QStringList& AttributeBoxNames()
{
    static const QStringList names{"Archive", "Compress", "Directory", "Hidden",
                                   "Normal",  "ReadOnly", "System",    "Temporary"};
    return names;
}

QStringList AllPropertyCaptions()
{
    QStringList captions;
    for (const QString& label : FilePropertyLabels())
        captions << label.trimmed();
    captions << AttributeBoxNames();
    captions << QStringLiteral("CreationTime Source");
    return captions;
}

FileInfoResult GetFileInfo(const QString& path, bool gatherOnly)
{
    FileInfoResult result;
    FilePropertyValues& v = result.values;
    const auto entry = platform::statFile(path);
    if (!entry) {
        result.problem = platform::fileReadProblem(path);
        return result;
    }
    result.found = true;
    result.birthKnown = entry->birthKnown;

    v[1] = slashDate(FileTimeFields(entry->createdMs), true);
    v[5] = slashDate(FileTimeFields(entry->accessedMs), false);
    v[6] = slashDate(FileTimeFields(entry->modifiedMs), true);
    v[8] = gatherOnly ? QString::number(entry->size) : GroupedLength(entry->size);
    v[12] = FileTypeName(path);
    v[13] = platform::MimeIconName(path);

    const platform::FileAttributes a = entry->attributes;
    const bool normal =
        !(a & (FileAttribute::ReadOnly | FileAttribute::Hidden | FileAttribute::System |
               FileAttribute::Archive | FileAttribute::Temporary | FileAttribute::Compressed));
    v[14] = truth(a.testFlag(FileAttribute::Archive));
    v[15] = truth(a.testFlag(FileAttribute::Compressed));
    v[16] = QString();
    v[17] = truth(a.testFlag(FileAttribute::Hidden));
    v[18] = truth(normal);
    v[19] = truth(a.testFlag(FileAttribute::ReadOnly));
    v[20] = truth(a.testFlag(FileAttribute::System));
    v[21] = truth(a.testFlag(FileAttribute::Temporary));
    v[22] = entry->birthKnown ? QStringLiteral("birth time")
                              : QStringLiteral("last status change (no birth time)");

    const auto strings = ReadPeVersionStringsFromFile(path);
    for (size_t i = 0; i < std::size(VersionKeys); ++i) {
        const auto it = strings.constFind(QLatin1String(VersionKeys[i]));
        if (it != strings.constEnd())
            v[size_t(VersionSlots[i])] = *it;
    }
    return result;
}

QString DateTimeText(const QString& path, int which)
{
    const auto entry = platform::statFile(path);
    if (!entry)
        return {};
    return FileDateText(FileTimeFields(which == 0 ? entry->createdMs : entry->modifiedMs));
}

QString TimestampNameOf(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1%2%3^%4_%5_%6")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(MonthNames().value(d.month() - 1))
        .arg(d.year())
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QString TimestampName(const QString& path)
{
    const auto entry = platform::statFile(path);
    return entry ? TimestampNameOf(FileTimeFields(entry->createdMs)) : QString();
}

QString FileTypeName(const QString& path)
{
    return CutAtNul(platform::MimeTypeName(path)).left(80);
}

QString GroupedLength(qint64 length)
{
    QString digits = QString::number(length);
    for (qsizetype at = digits.size() - 3; at > 0 && digits[at - 1] != QLatin1Char('-'); at -= 3)
        digits.insert(at, QLatin1Char(','));
    return digits;
}

bool ApplyAttributes(const QString& path, const AttributeChoice& choice, Prompts& prompts)
{
    const auto entry = platform::statFile(path);
    const bool readOnlyNow = entry && entry->attributes.testFlag(FileAttribute::ReadOnly);
    if (!entry ||
        (choice.readOnly != readOnlyNow && !platform::setOwnerWritable(path, !choice.readOnly))) {
        prompts.message(QStringLiteral("error in setting file attributes"));
        return false;
    }
    QStringList notSet;
    if (choice.hidden != entry->attributes.testFlag(FileAttribute::Hidden))
        notSet << QStringLiteral("Hidden (a hidden file's name starts with \".\"; "
                                 "files are not renamed)");
    if (choice.system != entry->attributes.testFlag(FileAttribute::System))
        notSet << QStringLiteral("System (only devices, sockets and pipes are system files)");
    if (choice.archive != entry->attributes.testFlag(FileAttribute::Archive))
        notSet << QStringLiteral("Archive (the file system keeps no archive flag)");
    QString text = QStringLiteral("attributes set for file:") + LineBreak + path;
    if (!notSet.isEmpty())
        text += LineBreak + LineBreak + QStringLiteral("not set on Linux: ") + LineBreak +
                notSet.join(LineBreak);
    prompts.message(text);
    return true;
}

QString ArchiveEntriesCaption()
{
    return QStringLiteral("Archive Entries ");
}

QString ArchiveEntryCountText(const QString& path, Prompts& prompts)
{
    if (!IsArchiveExt(ArchiveExtOf(path)))
        return QString();
    ArchiveSession session;
    session.request = ArchiveRequest::Count;
    ExamineArchive(path, session, prompts);
    return ArchiveCountText(session).mid(1) + QStringLiteral(" files");
}
