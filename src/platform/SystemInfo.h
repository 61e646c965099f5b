#pragma once

#include <QString>

namespace platform {

/// The login name of the user running the program ("user" when unknown).
[[nodiscard]] QString userName();
/// The machine's host name; empty when the system gives none.
[[nodiscard]] QString hostName();
/// The folder holding the running executable, ending in "/".
[[nodiscard]] QString programFolder();
/// The folder holding the help page `Lumarahelp.htm`, ending in "/": `programFolder`
/// when the page lies beside the program (a build), else the installed data folder
/// (`../share/lumara/` from there).
[[nodiscard]] QString helpFolder(const QString& programFolder);
/// True when the process runs as root.
[[nodiscard]] bool runningAsRoot();

} // namespace platform
