// The filter tabs narrow the full listing of a large folder without reading the disk,
// and the statistics table sums a grouped tree; both must stay linear in the files.
#include "browse/FilterTabs.h"
#include "browse/FolderListing.h"
#include "controls/Grid.h"
#include "controls/KivTabs.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/Statistics.h"
#include "trees/TreeRebuild.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

const char* const Extensions[] = {"txt", "bmp", "doc", "jpg", "c", "h", "zip", "log"};

/// A listed folder of `n` files in eight extensions, without touching the disk.
void fakeListing(FileList& state, int n)
{
    state.setSource(QStringLiteral("/bench/"));
    FileList::Edit(state).contents().readNames.Additem(QStringLiteral("/bench"));
    for (int i = 0; i < n; ++i) {
        const QString name =
            QStringLiteral("file%1.%2").arg(i).arg(QLatin1String(Extensions[i % 8]));
        FileList::Edit(state).contents().readNames.Additem(name);
        platform::FileEntry e;
        e.name = name;
        e.size = i % 5000;
        FileList::Edit(state).contents().entries.insert(e);
    }
}

void NarrowToPictures(benchmark::State& bench)
{
    Settings settings;
    FileList state;
    fakeListing(state, int(bench.range(0)));
    KivTabs tabs;
    ScriptedPrompts prompts;
    FilterTabs filters(settings, state, GroupedTrees(), &tabs, prompts);
    for (auto _ : bench)
        benchmark::DoNotOptimize(
            filters.NarrowToCategory(QStringLiteral("*.bmp;*.jpg"), QStringLiteral("Picture")));
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(NarrowToPictures)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void ExtensionStatistics(benchmark::State& bench)
{
    Settings settings;
    settings.extensionNames = false;
    FileList state;
    fakeListing(state, int(bench.range(0)));
    state.setTreeType(TreeType::Extension);
    RefreshFileList(state, settings, GroupedTrees());
    Grid grid;
    if (state.tree().count() < 2)
        bench.SkipWithError("the extension tree was not built");
    for (auto _ : bench)
        benchmark::DoNotOptimize(ShowSizeTable(state, grid, state.tree().root()).grandTotal);
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(ExtensionStatistics)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // The tab state keeps fonts, which need the GUI application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
