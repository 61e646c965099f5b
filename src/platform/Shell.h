#pragma once

#include <QString>
#include <optional>

namespace platform {

/// A desktop application as its .desktop entry describes it.
struct Application {
    QString name;        ///< Name=
    QString exec;        ///< Exec=, field codes left in
    QString desktopFile; ///< full path of the entry
};

/// The type name of a file: the comment of its MIME type, "unknown" when there is none.
[[nodiscard]] QString MimeTypeName(const QString& path);

/// The type name that a file name's extension stands for, whatever the file holds: the
/// comment of the MIME type its name gives, "unknown" when the name gives none.
[[nodiscard]] QString ExtensionTypeName(const QString& fileName);

/// The default application of the file's MIME type (or of the nearest parent type),
/// from the mimeapps.list files and the desktop database; nothing when none is set.
[[nodiscard]] std::optional<Application> DefaultApplication(const QString& path);

/// Reads Name= and Exec= of a .desktop entry; nothing when it cannot be read.
[[nodiscard]] std::optional<Application> ReadDesktopEntry(const QString& desktopFile);

/// True when the file carries an execute permission bit.
[[nodiscard]] bool IsExecutableFile(const QString& path);

/// Hands the file to its default application (through xdg-open when installed), with
/// the exact bytes of its name. Detached; false when nothing could be started.
bool OpenWithDefaultApplication(const QString& path);

/// Opens a file: runs it when it is executable, else hands it to its default
/// application. Detached; false when nothing could be started.
bool OpenFile(const QString& path);

} // namespace platform
