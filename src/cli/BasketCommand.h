#pragma once

#include <QStringList>
#include <QTextStream>

class Basket;

namespace cli {

/// Loads the basket file `path` into `basket` as opening it does. False, with the reason
/// on `err` under `command`'s name, when it cannot be read or is no basket file.
bool loadBasketArgument(const QString& path, Basket& basket, QTextStream& err,
                        const QString& command);

/// `lumara-cli basket save OUT.bsk PATH...`: writes a basket file of those paths (made
/// absolute, added as the grid adds them). `lumara-cli basket show FILE.bsk`: the decoded
/// header line, then "entry TAB size" per loaded row; exit 1 for a foreign .bsk file.
int basketCommand(const QStringList& args, QTextStream& out, QTextStream& err);

/// `lumara-cli nextversion FOLDER NAME`: the next free version name.
int nextVersion(const QStringList& args, QTextStream& out, QTextStream& err);

/// `lumara-cli copy [--stamp] [--yes-all [--next-version]] DEST FILE...`: copies the
/// files as basket rows; conflicts print as the overwrite dialog's rows (TABs between
/// the columns); --yes-all marks them all Yes and copies, as a new version with
/// --next-version.
int copyFiles(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace cli
