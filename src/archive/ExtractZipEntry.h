#pragma once

#include <QString>

class Prompts;

enum class ExtractOutcome {
    Extracted, ///< the entry now exists as folder + "/" + entry name
    Skipped,   ///< it existed and the user kept it (No)
    Cancelled, ///< the user cancelled the replace question
    NotFound,  ///< no such entry, the archive cannot be read, or no destination
    Refused,   ///< the entry would land outside the folder; nothing was written
    Failed,    ///< reading or writing failed (damaged data, wrong password); reported
};

/// What happens to a file that is already where the entry goes.
enum class ExistingFile {
    Ask,     ///< replaced only after "Overwrite <name>?" (Yes/No/Cancel)
    Replace, ///< replaced without a question: a copy in Lumara's own working folder
};

/// Extracts one entry of a zip archive into `folder`, creating the folders of its path
/// ("\" in a name stored on Windows separates folders too, as "/" does).
/// An existing file is handled as `existing` says; an encrypted entry asks once for its
/// password. A name that would land outside `folder` ("..", an absolute path, a link
/// pointing out, a path through a link) is refused with a message. The file is written
/// beside its place and renamed into it.
ExtractOutcome ExtractZipEntry(const QString& zipPath, const QString& folder,
                               const QString& entryName, Prompts& prompts,
                               ExistingFile existing = ExistingFile::Ask);

/// Where ExtractZipEntry puts `entryName` below `folder`: the name's "\" become "/"
/// and "." parts go. "" for a name it refuses (absolute, climbing with "..", empty).
[[nodiscard]] QString ExtractedEntryPath(const QString& folder, const QString& entryName);
