#pragma once

#include <QString>

namespace platform {

/// Gives or takes the owner's write permission (the ReadOnly attribute on Linux);
/// other permission bits stay. False when the file cannot be changed.
[[nodiscard]] bool setOwnerWritable(const QString& path, bool writable);

} // namespace platform
