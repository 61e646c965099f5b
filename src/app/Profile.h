#pragma once

#include "shared/Settings.h"

#include <QString>

class Prompts;

/// The message shown when the profile cannot be read.
inline const QString ProfileErrorMessage =
    QStringLiteral("error reading profile, defaults will be used");

/// Where the profile lives: "Lumara.pro" in `appFolder` when that folder is writable,
/// else ~/.config/Lumara/Lumara.pro.
[[nodiscard]] QString ProfileLocation(const QString& appFolder);

/// Reads the profile into `settings` (fonts, flags, geometry, categories, TempFolder,
/// histories). On any error (missing file, short file, bad number) shows
/// ProfileErrorMessage and returns true (failed); what was read before the error stays.
[[nodiscard]] bool ReadProfile(const QString& path, Settings& settings, Prompts& prompts);

/// The profile text for `settings` with fonts and geometry taken from `now`.
[[nodiscard]] QByteArray ProfileText(const Settings& settings, const WindowState& now);

/// Writes the profile through a temporary file beside it that is renamed into place,
/// and remembers `now` in `settings` as the geometry last saved. False when the file
/// could not be written (the old file is left whole).
[[nodiscard]] bool WriteProfile(const QString& path, Settings& settings, const WindowState& now);

/// Asks for saving at exit (settingsChanged) when the tree height, list height or either
/// window's geometry in `now` differs from what was last loaded or saved. Widths of the tree
/// and the list are not compared.
void CheckGeometryChanged(Settings& settings, const WindowState& now);

/// The defaults used when the profile could not be read; `now` gives the current sizes.
/// Values that these defaults do not cover (HistorySize, ShowSystemHidden, the view
/// window's geometry, the histories) keep what was read.
void ApplyProfileDefaults(Settings& settings, const WindowState& now);

/// Start-up: computes the profile path for `appFolder`, reads the profile or applies the
/// defaults, then the checks that hold either way (HistorySize at least 1, category 6
/// "*", the name pattern "*.*"). Returns true when the profile was read.
bool LoadSettings(Settings& settings, const QString& appFolder, const WindowState& now,
                  Prompts& prompts);

/// Unload of the main window: unless "Exit" saved already, checks the geometry and,
/// when something changed, asks "save options ?" and writes the profile on Yes.
/// Leaves settingsChanged Unchanged. Returns false only when a wanted write failed.
bool SaveSettingsAtExit(Settings& settings, const WindowState& now, Prompts& prompts);

/// "Exit": writes the profile without asking; nothing is asked at exit then.
bool SaveSettingsOnExitCommand(Settings& settings, const WindowState& now);
