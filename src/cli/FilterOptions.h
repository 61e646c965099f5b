#pragma once

#include "browse/FileList.h"
#include "browse/Filters.h"

#include <QStringList>
#include <QTextStream>

struct Settings;

namespace cli {

/// The filter options of `lumara-cli list` and `stats`.
struct FilterOptions {
    QString category; ///< a filter tab's caption; "" none
    bool other = false;
    OtherFilterFields fields;
};

/// Usage text of the options, for the command table.
[[nodiscard]] QString filterOptionsUsage();

/// Reads the option at args[i] when it is one of ours (advancing i past its values).
/// Returns 1 when taken, 0 when not a filter option, -1 on a bad value (message to err).
int parseFilterOption(const QStringList& args, qsizetype& i, FilterOptions& options,
                      QTextStream& err);

/// True when any word of `args` is a filter option, wherever it stands.
[[nodiscard]] bool asksForFilters(const QStringList& args);

/// After the folder was listed: selects the tab (and sets the other-filter criteria)
/// as a click would, narrowing the list. Messages of the filter go to `err`. Returns
/// false when the category names no tab.
bool applyFilterOptions(const FilterOptions& options, FileList& state, Settings& settings,
                        QTextStream& err);

} // namespace cli
