#pragma once

#include <QString>
#include <functional>

class Prompts;

/// What running a file needs from the desktop; the defaults use platform/Shell.
struct RunFileShell {
    /// The associated program of a file ("" when none).
    std::function<QString(const QString& path)> associatedProgram;
    /// True when the file carries an execute bit.
    std::function<bool(const QString& path)> isExecutable;
    /// Runs or opens the file; false when nothing could be started for it.
    std::function<bool(const QString& path)> open;

    /// The desktop's lookup (through AssociatedProgram, which may show messages on
    /// `prompts`), execute bit and opener.
    static RunFileShell desktop(Prompts& prompts);
};

/// "Execute" (code "R"): for .EXE, .BAT, .SH and files with the execute bit asks
/// "do you wish to run:"; otherwise looks up the associated program and either says
/// there is none or asks whether to run it. Opens the file on Yes. An empty display
/// name is replaced by the full path. Returns true when the file was opened; when
/// nothing could be started for it, says "could not run" and the path.
bool RunFile(const QString& displayName, const QString& fullPath, const QString& extension,
             Prompts& prompts, const RunFileShell& shell);

/// The associated-program lookup: "file missing" or "incorrect path" (OK boxes) when
/// the file or its folder does not exist, then ""; else the program's name and command.
[[nodiscard]] QString AssociatedProgram(const QString& fullPath, Prompts& prompts);
