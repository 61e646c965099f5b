#pragma once

#include <QStringList>
#include <QTextStream>
#include <functional>

namespace cli {

/// One subcommand: its name, a one-line usage text and the function that runs it with
/// the arguments after the name. The function returns the exit status.
struct Command {
    QString name;
    QString usage;
    std::function<int(const QStringList& args, QTextStream& out, QTextStream& err)> run;
    /// Draws text or plays media, so it needs a Gui application rather than a Core one.
    bool needsGui = false;
};

/// True when the command line's command needs a Gui application.
[[nodiscard]] bool needsGuiApplication(const QStringList& args);

/// Every subcommand, in the order `--help` lists them.
[[nodiscard]] const QList<Command>& commands();

/// Runs the command line (without the program name); returns the exit status.
int run(const QStringList& args);

} // namespace cli
