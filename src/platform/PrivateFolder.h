#pragma once

#include <QString>

namespace platform {

/// True when `path` is a real folder (not a link to one) owned by this user that no
/// one else may enter (mode 0700).
[[nodiscard]] bool isPrivateFolder(const QString& path);

/// True when private folders may safely be made inside `path`: a real folder (not a
/// link) of this user or of root into which no one else can write, or, like /tmp, one
/// whose sticky bit keeps others from renaming or removing what is not theirs.
[[nodiscard]] bool isSafeParentFolder(const QString& path);

/// Makes the single folder `path` (its parent must exist) with mode 0700 when it is
/// missing. True when it was made now; an existing folder is left exactly as it is.
bool makeMissingFolder(const QString& path);

/// Removes the folder `path` when it is empty; false otherwise.
bool removeEmptyFolder(const QString& path);

/// A new private folder with a fresh name starting with `prefix` (mkdtemp); "" when
/// none could be made.
[[nodiscard]] QString makeFreshPrivateFolder(const QString& prefix);

/// This process's id.
[[nodiscard]] qint64 currentProcessId();

/// True while a process with this id runs (also one of another user).
[[nodiscard]] bool processAlive(qint64 pid);

} // namespace platform
