#pragma once

#include <QString>

namespace platform {

/// The folder holding the running program's executable ("" when the system cannot say).
[[nodiscard]] QString ExecutableFolder();

/// Replaces this process by `program`, run with `argv` (argv[0] included, null-ended).
/// Returns only when the program cannot start, with the system's reason.
[[nodiscard]] QString ReplaceProcess(const QString& program, char** argv);

} // namespace platform
