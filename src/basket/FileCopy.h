#pragma once

#include <QString>
#include <functional>

/// Copies `source` to `destination` through a temporary file beside the destination that
/// is renamed into place once whole, so a failed copy leaves no partial file and an old
/// destination stays as it was. The copy keeps the source's modification time and
/// permissions. `bytesCopied`, when given, hears of the bytes as they go. True on success;
/// else `error`, when given, holds the system's reason.
bool CopyFileSafely(const QString& source, const QString& destination,
                    const std::function<void(qint64)>& bytesCopied = {}, QString* error = nullptr);
