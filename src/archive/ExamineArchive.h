#pragma once

#include "archive/ArchiveEntry.h"

#include <QString>
#include <QStringList>
#include <functional>

class Prompts;

/// The main window's archive state. `Request` selects what the handler does:
/// "" collects names into `List1`, a text starting with "X" counts, any other text is
/// the full entry name (path + file name, "/" as stored) whose details are wanted.
struct ArchiveSession {
    QString Request;
    QStringList List1;   ///< names collected by a "" request, in reading order
    QStringList Details; ///< the 14 "Z"-mode label values of the requested entry
};

/// The lower-case extension after the last "." of `path`; "" when there is no dot or it
/// ends the path.
[[nodiscard]] QString ArchiveExtOf(const QString& path);

/// True for the extensions whose directories are read: ace, cab, rar and zip.
[[nodiscard]] bool IsArchiveExt(const QString& ext);

/// Reads the archive's directory when its extension is ace, cab, rar or zip, and hands
/// every entry to Archive_FileFound. All events arrive before it returns; a count
/// request leaves "X" + NumText(count) (ZIP) or "X...." + NumText(total) in Request.
void ExamineArchive(const QString& path, ArchiveSession& session, Prompts& prompts);

/// The handler of one FileFound event, acting on `session.Request`.
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

/// Hands the whole name of each file entry (what a collect request puts in List1) to
/// `found`, in reading order, without keeping them.
void ForEachArchiveName(const QString& path, Prompts& prompts,
                        const std::function<void(const QString&)>& found);

/// Runs the archive's reader and passes every event to `found` (no request involved).
void ForEachArchiveEntry(const QString& path, Prompts& prompts,
                         const std::function<void(const ArchiveEntry&)>& found);
