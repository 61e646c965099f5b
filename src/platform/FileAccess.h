#pragma once

#include <QIODevice>
#include <QString>
#include <memory>
#include <optional>

class QFile;

namespace platform {

// File operations on paths that may hold raw bytes (see FileNames.h). Every reader,
// writer and query of a user's file goes through these instead of Qt's by-name calls.

/// Opens the regular file at `path` (links followed) into `file` for reading and
/// names `file` after it. Pipes, sockets, devices and folders are refused without
/// blocking. `extra` adds open flags such as Unbuffered. False when it cannot be opened.
[[nodiscard]] bool openForReading(QFile& file, const QString& path, QIODevice::OpenMode extra = {});

/// True when `path` names a regular file (links followed).
[[nodiscard]] bool isRegularFile(const QString& path);
/// True when `path` names a folder (links followed).
[[nodiscard]] bool isFolder(const QString& path);
/// True when something is at `path` (a dangling link counts).
[[nodiscard]] bool pathExists(const QString& path);
/// True when `path` itself is a symbolic link.
[[nodiscard]] bool isLink(const QString& path);
/// The permission bits (0777 and the set-id and sticky bits) of what `path` names,
/// links followed; nothing when it cannot be reached.
[[nodiscard]] std::optional<unsigned> permissionBits(const QString& path);

/// The permission bits of the regular file at `path` itself (a link is not followed);
/// nothing when no regular file is there.
[[nodiscard]] std::optional<unsigned> ownPermissionBits(const QString& path);

/// Removes the file (or link) at `path`; false when it could not.
bool removeFile(const QString& path);
/// Renames `from` onto `to`, replacing what is there (a link there is replaced itself).
[[nodiscard]] bool renameReplacing(const QString& from, const QString& to);
/// Makes the folder at `path`; true when it is there afterwards, else errno tells why.
bool makeFolder(const QString& path);
/// Makes the folder at `path` and any missing folders above it; true when it is there
/// afterwards.
bool makeFolders(const QString& path);
/// What the symbolic link at `path` holds, as written; nothing when `path` is no link.
[[nodiscard]] std::optional<QString> linkTarget(const QString& path);
/// Removes the empty folder at `path`; false when it could not.
bool removeFolder(const QString& path);
/// Makes a symbolic link at `path` that holds `target` as written; false when it could not.
[[nodiscard]] bool makeLink(const QString& target, const QString& path);

/// Copies the regular file `source` to `target` through a FileBeside; false when it failed
/// (the old target, if any, then stays whole), with the system's reason in `error`.
[[nodiscard]] bool copyFile(const QString& source, const QString& target, QString* error = nullptr);

/// The marker in the name of a file being written: ".NAME.lumara-partial-PID".
inline constexpr char PartialMarker[] = ".lumara-partial-";

/// Removes from `folder` the partial files (see FileBeside) of processes that are gone,
/// as left by a crash or a kill. Each folder is looked at once per run.
void removeDeadPartials(const QString& folder);

/// A new file written beside `target` (as ".NAME.lumara-partial-PID", with the permissions
/// a new file gets under the umask) and renamed into place by commit() once it is on the
/// disk, so a failure or a crash leaves the old file whole. Removed on destruction unless
/// committed; a leftover of a killed process goes the next time a FileBeside is made in
/// its folder.
class FileBeside {
public:
    explicit FileBeside(const QString& target);
    ~FileBeside();
    FileBeside(const FileBeside&) = delete;
    FileBeside& operator=(const FileBeside&) = delete;

    /// False when the new file could not be made.
    [[nodiscard]] bool isOpen() const;
    /// The new file, open for writing.
    [[nodiscard]] QFile& file() { return *file_; }
    /// Writes `size` bytes straight to the new file (no buffer in between, so the system's
    /// reason of a failure is kept in errorText()); false when not all were written.
    [[nodiscard]] bool write(const char* data, qint64 size);
    /// Gives the new file these permission bits (the umask is not applied).
    void setPermissionBits(unsigned bits);
    /// Writes the new file out, closes it, renames it onto the target (a link there is
    /// replaced itself) and makes the rename last; false when any step failed.
    [[nodiscard]] bool commit();
    /// The system's reason of the failure ("No space left on device"); "" before one.
    [[nodiscard]] const QString& errorText() const { return error_; }
    /// Records a failure seen by the caller while writing, e.g. `file().errorString()`.
    void setErrorText(const QString& reason) { error_ = reason; }

private:
    QString target_;
    QString tempPath_;
    std::unique_ptr<QFile> file_;
    QString error_;
    bool committed_ = false;
};

} // namespace platform
