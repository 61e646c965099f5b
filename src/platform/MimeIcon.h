#pragma once

#include <QString>

namespace platform {

/// The MIME type's description of a file ("Plain text document"), as the shell's type
/// name stands in for it; "unknown" when the database knows no type for the file.
[[nodiscard]] QString MimeTypeName(const QString& path);

/// The theme icon name of the file's MIME type ("text-plain"); "" when unknown.
[[nodiscard]] QString MimeIconName(const QString& path);

} // namespace platform
