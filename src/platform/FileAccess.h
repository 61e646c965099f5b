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

/// Removes the file (or link) at `path`; false when it could not.
bool removeFile(const QString& path);
/// Renames `from` onto `to`, replacing what is there (a link there is replaced itself).
[[nodiscard]] bool renameReplacing(const QString& from, const QString& to);
/// Makes the folder at `path`; true when it is there afterwards.
bool makeFolder(const QString& path);
/// Makes the folder at `path` and any missing folders above it; true when it is there
/// afterwards.
bool makeFolders(const QString& path);
/// Makes a symbolic link at `path` that holds `target` as written; false when it could not.
[[nodiscard]] bool makeLink(const QString& target, const QString& path);

/// Copies the regular file `source` to `target` through a FileBeside; false when it failed
/// (the old target, if any, then stays whole).
[[nodiscard]] bool copyFile(const QString& source, const QString& target);

/// A new file written beside `target` and renamed into place by commit(), so a failure
/// leaves the old file whole. Removed on destruction unless committed.
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
    /// Gives the new file these permission bits (the umask is not applied).
    void setPermissionBits(unsigned bits);
    /// Closes the new file and renames it onto the target; false when that failed.
    [[nodiscard]] bool commit();

private:
    QString target_;
    QString tempPath_;
    std::unique_ptr<QFile> file_;
    bool committed_ = false;
};

} // namespace platform
