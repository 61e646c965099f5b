#pragma once

#include "archive/ArchiveEntry.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Prompts;

/// What the FileFound handler does with the entries it is handed.
enum class ArchiveRequest {
    Collect, ///< the entries' names go into collectedNames
    Count,   ///< only the number of files is wanted
    Details, ///< the details of the entry named `entryName`
};

/// The number a count request found. The ZIP reader counts the files itself; the other
/// readers give each entry the archive's total.
struct ArchiveCount {
    qint64 files = 0;
    bool fromEntryTotal = false;
};

/// The main window's archive state.
struct ArchiveSession {
    ArchiveRequest request = ArchiveRequest::Collect;
    QString entryName; ///< a details request's full entry name (path + name, "/" as stored)
    QStringList collectedNames;        ///< names a collect request found, in reading order (List1)
    QStringList Details;               ///< the 14 "Z"-mode label values of the requested entry
    std::optional<ArchiveCount> count; ///< what a count request found; none without entries
};

/// The text a count request leaves: "X" + NumText(files) for ZIP, "X...." + NumText(total)
/// for the others, a bare "X" when nothing was counted.
[[nodiscard]] QString ArchiveCountText(const ArchiveSession& session);

/// The lower-case extension after the last "." of `path`; "" when there is no dot or it
/// ends the path.
[[nodiscard]] QString ArchiveExtOf(const QString& path);

/// True for the extensions whose directories are read: ace, cab, rar and zip.
[[nodiscard]] bool IsArchiveExt(const QString& ext);

/// Reads the archive's directory when its extension is ace, cab, rar or zip, and hands
/// every entry to Archive_FileFound. All events arrive before it returns; a count
/// request leaves its number in `count`.
void ExamineArchive(const QString& path, ArchiveSession& session, Prompts& prompts);

/// The handler of one FileFound event, acting on `session.request`.
void Archive_FileFound(const ArchiveEntry& entry, const QString& archivePath,
                       ArchiveSession& session, Prompts& prompts);

/// The "Z"-mode captions of the properties dialog, each with its trailing blank.
[[nodiscard]] const QStringList& ArchiveEntryCaptions();

/// The 14 "Z"-mode values of one entry: source file, file name, total, index, path
/// (with "\"), extension, "DD-MMM-YY HH:MM", sizes, ratio "00.0%", method number and
/// text, "True"/"False" encrypted, comments.
[[nodiscard]] QStringList EntryDetailValues(const ArchiveEntry& entry, const QString& archivePath);

/// The full names of the archive's entries, folder entries left out: what an archive
/// node's children are made from.
[[nodiscard]] QStringList ArchiveEntryNames(const QString& path, Prompts& prompts);

/// Hands the whole name of each file entry (what a collect request puts in collectedNames) to
/// `found`, in reading order, without keeping them.
void ForEachArchiveName(const QString& path, Prompts& prompts,
                        const std::function<void(const QString&)>& found);

/// Runs the archive's reader and passes every event to `found` (no request involved).
void ForEachArchiveEntry(const QString& path, Prompts& prompts,
                         const std::function<void(const ArchiveEntry&)>& found);
