#pragma once

#include <QString>

namespace platform {

/// The theme icon name of the file's MIME type ("text-plain"); "" when unknown.
[[nodiscard]] QString MimeIconName(const QString& path);

} // namespace platform
