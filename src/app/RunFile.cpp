#include "app/RunFile.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/Shell.h"
#include "shared/Settings.h"

namespace {
const QString RunTitle = QStringLiteral("Run");
}

RunFileShell RunFileShell::desktop(Prompts& prompts)
{
    return {[&prompts](const QString& path) { return AssociatedProgram(path, prompts); },
            platform::IsExecutableFile, platform::OpenFile};
}

namespace {

/// Opens the file, telling the user when nothing could be started for it.
bool openOrSay(const QString& fullPath, Prompts& prompts, const RunFileShell& shell)
{
    if (shell.open(fullPath))
        return true;
    prompts.message(QStringLiteral("could not run ") + fullPath, RunTitle);
    return false;
}

} // namespace

QString AssociatedProgram(const QString& fullPath, Prompts& prompts)
{
    const QString path = platform::absoluteFilePath(fullPath);
    if (!platform::isFolder(path.left(path.lastIndexOf(u'/') + 1))) {
        prompts.message(QStringLiteral("incorrect path"));
        return {};
    }
    if (!platform::statFile(path)) { // a dangling link is missing too
        prompts.message(QStringLiteral("file missing"));
        return {};
    }
    const auto app = platform::DefaultApplication(fullPath);
    return app ? app->name + QStringLiteral(" (") + app->exec + QLatin1Char(')') : QString();
}

bool RunFile(const QString& displayName, const QString& fullPath, const QString& extension,
             Prompts& prompts, const RunFileShell& shell)
{
    const QString name = displayName.isEmpty() ? fullPath : displayName;
    const QString ext = extension.toUpper();
    const bool runnable = ext == QLatin1String(".EXE") || ext == QLatin1String(".BAT") ||
                          ext == QLatin1String(".SH") ||
                          (shell.isExecutable && shell.isExecutable(fullPath));
    if (runnable) {
        if (!prompts.askYesNo(QStringLiteral("do you wish to run:") + LineBreak + name, RunTitle))
            return false;
        return openOrSay(fullPath, prompts, shell);
    }
    const QString program = shell.associatedProgram ? shell.associatedProgram(fullPath) : QString();
    if (program.isEmpty()) {
        prompts.message(QStringLiteral("there is no associated program to run for extension: ") +
                            ext,
                        RunTitle);
        return false;
    }
    const QString question = QStringLiteral("file:") + LineBreak + name + LineBreak + LineBreak +
                             QStringLiteral("has following program associated with it") +
                             LineBreak + program + LineBreak + LineBreak +
                             QStringLiteral("do you wish to run this prgram?");
    if (!prompts.askYesNo(question, RunTitle))
        return false;
    return openOrSay(fullPath, prompts, shell);
}
