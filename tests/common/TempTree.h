#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// A fixture folder in a fresh temporary directory, removed with the object.
/// Paths given to the helpers are relative to the root; parent folders are created. A
/// name may hold raw bytes that are not UTF-8 (made with platform::decodeFileName).
class TempTree {
public:
    TempTree();
    ~TempTree();

    /// The root folder, without a trailing separator.
    [[nodiscard]] QString root() const { return dir_.path(); }
    /// root() + "/" + relative.
    [[nodiscard]] QString path(const QString& relative) const;

    /// Writes a file of exactly `size` bytes ('x' repeated) and returns its full path.
    QString file(const QString& relative, qint64 size = 0);
    /// Writes a file with the given bytes and returns its full path.
    QString file(const QString& relative, const QByteArray& content);
    /// Creates a folder (and its parents) and returns its full path.
    QString folder(const QString& relative);
    /// Sets the last-modified (and access) time of an existing entry.
    void setModified(const QString& relative, const QDateTime& when);

    /// A symbolic link at `relative` pointing at `target` (taken as written, so it may
    /// dangle or loop); returns its full path.
    QString link(const QString& relative, const QString& target);
    /// A named pipe; returns its full path.
    QString fifo(const QString& relative);
    /// A file of `size` bytes that holds no data blocks; returns its full path.
    QString sparseFile(const QString& relative, qint64 size);
    /// A folder with one file inside whose permissions let nobody but root read or enter
    /// it; returns its full path. Restored on destruction so the tree can be removed.
    QString unreadableFolder(const QString& relative);
    /// Lets users other than the owner walk the root (not list it), as an unprivileged
    /// child of a test run by root must.
    void openRootToOthers();

private:
    QTemporaryDir dir_;
    QStringList locked_;
};
