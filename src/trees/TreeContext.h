#pragma once

#include "shared/Settings.h"

#include <QDateTime>
#include <QString>
#include <functional>

/// Gives the shell's type name of a file's extension ("unknown" when there is none).
using TypeNameFunction = std::function<QString(const QString& path)>;

/// What the tree builders read besides the file list state: the settings, the clock
/// (injectable so that ages are stable in tests) and the type-name source.
struct TreeContext {
    const Settings& settings;
    QDateTime now;             ///< the moment ages are counted to; taken as UTC fields
    TypeNameFunction typeName; ///< for the extension tree with type names on

    /// A context over the real clock and the real MIME database (names by extension).
    static TreeContext live(const Settings& settings);
};
