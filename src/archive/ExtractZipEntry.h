#pragma once

#include <QString>

class Prompts;

enum class ExtractOutcome {
    Extracted, ///< the entry now exists as folder + "/" + entry name
    Skipped,   ///< it existed and the user kept it (No)
    Cancelled, ///< the user cancelled the replace question
    NotFound,  ///< no such entry, or no destination
    Refused,   ///< the entry would land outside the folder; nothing was written
    Failed,    ///< reading or writing failed (damaged data, wrong password, no room, an
               ///< unreadable archive or destination); reported with the reason
};

/// What an extraction may write for one entry. An entry that unpacks to more than
/// `ratio` times its packed size, beyond `ratioFloor` bytes, is how a zip bomb fills a
/// disk: it is stopped unless the user allows it.
struct ExtractLimits {
    enum class Huge {
        Ask,    ///< the window asks whether to go on
        Refuse, ///< stopped (lumara-cli without --allow-huge)
        Allow,  ///< written whole (lumara-cli --allow-huge)
    };
    Huge huge = Huge::Ask;
    qint64 ratio = 1000;
    qint64 ratioFloor = qint64(100) << 20;
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
/// beside its place and renamed into it. An entry larger than the free space there, or
/// holding more than its header declares, or past the `limits`, is stopped with a
/// message; a failure removes the folders it made.
ExtractOutcome ExtractZipEntry(const QString& zipPath, const QString& folder,
                               const QString& entryName, Prompts& prompts,
                               ExistingFile existing = ExistingFile::Ask,
                               const ExtractLimits& limits = {});

/// Where ExtractZipEntry puts `entryName` below `folder`: the name's "\" become "/"
/// and "." parts go. "" for a name it refuses (absolute, climbing with "..", empty).
[[nodiscard]] QString ExtractedEntryPath(const QString& folder, const QString& entryName);
