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
};

/// Every subcommand, in the order `--help` lists them.
[[nodiscard]] const QList<Command>& commands();

/// Runs the command line (without the program name); returns the exit status.
int run(const QStringList& args);

} // namespace cli
