#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

/// Writes `bytes` as the whole content of `path` so that no reader and no crash ever
/// sees half a file: a new file beside it (see FileBeside) is written, flushed to the disk and
/// renamed into place. On failure the old file stays as it was, nothing is left behind, and `error`
/// (when given) holds the system's reason. The only way Lumara writes its files.
bool WriteFileSafely(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace platform
