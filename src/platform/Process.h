#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// Programs started with the exact bytes of their path and arguments: QProcess writes a
// '?' for each raw byte of a name that is not UTF-8 (see FileNames.h), so a file of such
// a name could neither run nor be handed to another program through it.

/// Starts `program` (a path; no PATH search) with `arguments` in `workingFolder` (the
/// current folder when empty) and leaves it running on its own: Lumara neither waits for
/// it nor has to reap it. Input comes from /dev/null. False when it could not be started
/// (not found, not executable, or the folder cannot be entered).
bool startDetached(const QString& program, const QStringList& arguments,
                   const QString& workingFolder = {});

/// Runs `program` (a path) with `arguments`, its output thrown away, and waits for it
/// at most `timeoutMs`. Its exit code, or nothing when it could not be started, ended
/// through a signal, or ran too long (it is then killed).
[[nodiscard]] std::optional<int> runAndWait(const QString& program, const QStringList& arguments,
                                            int timeoutMs);

} // namespace platform
