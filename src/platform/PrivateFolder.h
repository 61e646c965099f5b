#pragma once

#include <QString>

namespace platform {

/// True when `path` is a real folder (not a link to one) owned by this user that no
/// one else may enter (mode 0700).
[[nodiscard]] bool isPrivateFolder(const QString& path);

/// Makes the folder `path` (its parent must exist) with mode 0700. True when it is
/// there afterwards and private, whether made now or before. A real folder of this user
/// that others could read but never write (0755, as older versions made it) is closed
/// to them; one that others could write into is left as it is and gives false.
bool makePrivateFolder(const QString& path);

/// A new private folder with a fresh name starting with `prefix` (mkdtemp); "" when
/// none could be made.
[[nodiscard]] QString makeFreshPrivateFolder(const QString& prefix);

/// This process's id.
[[nodiscard]] qint64 currentProcessId();

/// True while a process with this id runs (also one of another user).
[[nodiscard]] bool processAlive(qint64 pid);

} // namespace platform
