#pragma once

#include <QString>

class QTemporaryFile;

/// Renames the finished temporary file onto `target`, replacing what is there (a link
/// at `target` is replaced itself, never followed). False when the rename fails; the
/// temporary file then goes with its object.
[[nodiscard]] bool ReplaceFileWith(QTemporaryFile& finished, const QString& target);
