#pragma once

#include <QMimeType>
#include <QString>

namespace platform {

/// The MIME type of the file at `path`, from its name and, for a regular file, its
/// first bytes. Pipes and devices are never opened.
[[nodiscard]] QMimeType MimeTypeOfFile(const QString& path);

/// The theme icon name of the file's MIME type ("text-plain"); "" when unknown.
[[nodiscard]] QString MimeIconName(const QString& path);

} // namespace platform
