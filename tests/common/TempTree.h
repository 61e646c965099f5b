#pragma once

#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

/// A fixture folder in a fresh temporary directory, removed with the object.
/// Paths given to the helpers are relative to the root; parent folders are created.
class TempTree {
public:
    TempTree();

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

private:
    QTemporaryDir dir_;
};
