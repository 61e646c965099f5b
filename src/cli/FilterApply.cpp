// Applying the filter options needs the filter tabs, whose colours and fonts come from the
// drawing library; lumara-cli's front leaves this file out and hands such lists on.
#include "browse/FilterTabs.h"
#include "cli/FilterOptions.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

namespace cli {

bool applyFilterOptions(const FilterOptions& options, FileList& state, Settings& settings,
                        QTextStream& err)
{
    if (options.category.isEmpty() && !options.other)
        return true;
    int tab = -1;
    if (!options.category.isEmpty()) {
        for (int i = 0; i <= settings.categoryLast; ++i) {
            if (settings.categories[size_t(i)].name.compare(options.category,
                                                            Qt::CaseInsensitive) == 0)
                tab = i;
        }
        if (tab < 0) {
            err << "lumara-cli: no filter tab is named " << options.category << "\n";
            return false;
        }
    }
    ScriptedPrompts prompts;
    FilterTabs filters(settings, state, GroupedTrees(), nullptr, prompts);
    filters.setupTabs();
    if (options.other) {
        filters.ApplyOtherFilter(options.fields);
        filters.SelectCategory(filters.otherTab());
    }
    // A category after the other filter narrows what that filter let through.
    if (tab >= 0 && !(options.other && tab == filters.otherTab()))
        filters.SelectCategory(tab);
    for (const QString& text : prompts.shownTexts())
        err << "lumara-cli: " << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "))
            << "\n";
    return true;
}

} // namespace cli
