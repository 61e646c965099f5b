#pragma once

#include <QString>
#include <QStringList>

/// What `lumara [--new-window] [FOLDER | FILE | URI]...` asks for.
struct StartupRequest {
    bool newWindow = false; ///< start a window of its own even when one runs
    QStringList paths;      ///< absolute local paths, in the order given
    QStringList rejected;   ///< arguments that name no local file (other URI schemes, options)
};

/// Reads the program's arguments (without the program name), each decoded from its bytes
/// as file names are. Relative paths are taken from `workingFolder`.
[[nodiscard]] StartupRequest ParseStartupArguments(const QStringList& args,
                                                   const QString& workingFolder);

/// The local path a path or a file:// URI names, its escaped bytes restored exactly;
/// "" for a URI of another scheme or another host.
[[nodiscard]] QString LocalPathOf(const QString& pathOrUri, const QString& workingFolder);

/// Where a path opens: a folder shows itself; a file (or anything not a folder) shows its
/// folder with the file selected.
struct OpenTarget {
    QString folder;     ///< ends in "/"
    QString selectName; ///< the file to select; "" for none
};
[[nodiscard]] OpenTarget OpenTargetOf(const QString& path);
