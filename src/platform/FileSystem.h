#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>
#include <atomic>
#include <optional>
#include <vector>

namespace platform {

/// File attributes with the values the original system used, mapped from Linux:
/// ReadOnly = owner lacks write permission, Hidden = name starts with ".",
/// System = device, socket or FIFO, Compressed = the file system's compressed flag.
enum class FileAttribute : unsigned {
    Normal = 0,
    ReadOnly = 1,
    Hidden = 2,
    System = 4,
    Directory = 16,
    Archive = 32,
    Temporary = 256,
    Compressed = 2048,
};
Q_DECLARE_FLAGS(FileAttributes, FileAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(FileAttributes)

/// What a file's status tells beyond its name. Times are milliseconds since the epoch
/// (UTC).
struct FileDetails {
    qint64 size = 0;
    qint64 modifiedMs = 0;
    qint64 accessedMs = 0;
    qint64 createdMs = 0; ///< birth time, or the last status change when unknown
    FileAttributes attributes;
    bool birthKnown = false; ///< false when createdMs holds the change time instead
};

/// What one directory read yields for a file; kept so that nothing is stat'ed twice.
struct FileEntry : FileDetails {
    QString name;
};

/// Lets another thread follow a long directory read and end it early.
struct ReadWatch {
    std::atomic<qint64> filesRead{0}; ///< updated every few hundred files
    std::atomic<bool> stop{false};    ///< set to end the read, keeping what was read
};

/// Reads the plain files (and links to files) of `folder`, in directory order.
/// Hidden and system files are left out unless `includeHiddenSystem`. An unreadable
/// folder yields what was read before the error (usually nothing) and, when `error` is
/// given, the system's reason there ("Permission denied"); it is left empty otherwise.
/// A `watch` hears the count as it grows; its stop ends the read before the next file.
[[nodiscard]] std::vector<FileEntry> listFiles(const QString& folder, bool includeHiddenSystem,
                                               QString* error = nullptr,
                                               ReadWatch* watch = nullptr);

/// The names of the files listFiles would yield for `folder`, in directory order, read
/// without a status call for every file: the directory tells files from folders, and
/// only links and entries of unknown kind are looked at. Nothing is listed from a folder
/// whose entries cannot be looked at (readable but not enterable), as with listFiles.
[[nodiscard]] std::vector<QString> listFileNames(const QString& folder, bool includeHiddenSystem,
                                                 QString* error = nullptr,
                                                 ReadWatch* watch = nullptr);

/// The details of each of `names` in `folder` (item i for names[i]), read on every
/// core. A file gone since keeps zero details but for its hidden mark.
[[nodiscard]] std::vector<FileDetails> readFileDetails(const QString& folder,
                                                       const std::vector<QString>& names);

/// The system's text for an error number, as the C library words it.
[[nodiscard]] QString errorText(int errorNumber);

/// The names of the subfolders of `folder` ("." and ".." excluded), in directory order.
[[nodiscard]] QStringList listSubfolders(const QString& folder);

/// The name of the first subfolder of `folder`, or "" when it has none. Reading stops
/// at the first one; a folder whose link count shows no subfolder is not read at all
/// (a link to a folder inside it then goes unseen).
[[nodiscard]] QString firstSubfolder(const QString& folder);

/// Why the file at `path` cannot be read as a file: the system's reason when it cannot
/// be opened, "not a regular file" for folders, pipes, sockets and devices (which a
/// reader would block on or must not touch), "" when it can be read. Never blocks.
[[nodiscard]] QString fileReadProblem(const QString& path);

/// The bytes free to an ordinary user on the file system holding `folder`; nothing
/// when it cannot be asked.
[[nodiscard]] std::optional<qint64> freeSpace(const QString& folder);

/// The entry for one path, or nothing when it cannot be read.
[[nodiscard]] std::optional<FileEntry> statFile(const QString& path);

} // namespace platform
