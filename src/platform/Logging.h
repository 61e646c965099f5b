#pragma once

#include <QLoggingCategory>

// The program's diagnostics, one category for each part. Only warnings show unless asked
// for, e.g. QT_LOGGING_RULES="lumara.*.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcPlatform)
Q_DECLARE_LOGGING_CATEGORY(lcArchive)
Q_DECLARE_LOGGING_CATEGORY(lcBrowse)
Q_DECLARE_LOGGING_CATEGORY(lcTrees)
Q_DECLARE_LOGGING_CATEGORY(lcView)
Q_DECLARE_LOGGING_CATEGORY(lcTools)
Q_DECLARE_LOGGING_CATEGORY(lcBasket)
Q_DECLARE_LOGGING_CATEGORY(lcApp)
