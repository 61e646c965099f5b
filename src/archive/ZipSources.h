#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ZipJob;

/// One file (or folder) to go into a zip, with the name it is stored under.
struct NewFile {
    QString source;
    QString stored;
    bool folder = false;
    qint64 modified = 0; // seconds since the epoch
};

/// True when a name holds "*" or "?".
[[nodiscard]] bool HasWildcard(const QString& name);

/// The files and folders that a ZipJob's sources name, with their stored names, in source
/// order; `exclude` (absolute paths) are left out. Missing files yield nothing.
[[nodiscard]] QList<NewFile> GatherSpecs(const ZipJob& zip, const QStringList& sources,
                                         const QStringList& exclude);
