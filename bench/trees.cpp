// Builds each grouped tree over a synthetic listing of 100,000 entries (no disk access:
// the sizes and times come from the listing's metadata, as in the program).
#include "browse/FileList.h"
#include "shared/Settings.h"
#include "trees/BandTrees.h"
#include "trees/ExtensionTree.h"
#include "trees/PlainSort.h"
#include "trees/TreeCommands.h"
#include "trees/TreeContext.h"
#include "trees/TreeRebuild.h"

#include <QDateTime>
#include <QTimeZone>
#include <benchmark/benchmark.h>

namespace {

constexpr int FileCount = 100'000;

void fill(FileList& state)
{
    static const char* const exts[] = {".txt", ".jpg", ".doc", ".mp3", ".c", ".HTML", "", ".bin"};
    state.setSource(QStringLiteral("/bench/"));
    FileList::Edit(state).listedNames().Clear();
    FileList::Edit(state).contents().entries.clear();
    FileList::Edit(state).listedNames().Additem(QStringLiteral("/bench"));
    const qint64 now =
        QDateTime(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    for (int i = 0; i < FileCount; ++i) {
        const QString name = QStringLiteral("File_%1_%2%3")
                                 .arg((qint64(i) * 7919) % FileCount)
                                 .arg(QChar(u'a' + i % 26))
                                 .arg(QLatin1String(exts[i % 8]));
        platform::FileEntry e;
        e.name = name;
        e.size = (qint64(i) * 104729) % 3'000'000;
        e.modifiedMs = now - qint64(i % 900) * 86'400'000;
        e.createdMs = e.modifiedMs;
        FileList::Edit(state).contents().entries.insert(e);
        FileList::Edit(state).listedNames().Additem(name);
    }
    state.rebuildTree([&state](NodeTree& tree) {
        tree.clear();
        const auto root = tree.add(NodeTree::None, QStringLiteral("R"), QStringLiteral("/bench"));
        for (int i = 1; i <= FileCount; ++i) {
            const QString name = state.listedNames().list(i);
            tree.add(root, state.setup().currentFolder + name, name);
        }
    });
}

template <TreeType Type> void BM_GroupedTree(benchmark::State& bench)
{
    Settings settings;
    settings.extensionNames = false;
    FileList state;
    fill(state);
    state.setTreeType(Type);
    const TreeContext context{
        settings, QDateTime(QDate(2026, 1, 1), QTime(12, 0), QTimeZone::utc()), {}};
    for (auto _ : bench)
        benchmark::DoNotOptimize(BuildGroupedTree(state, context));
}
BENCHMARK_TEMPLATE(BM_GroupedTree, TreeType::Extension)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_GroupedTree, TreeType::Size)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_GroupedTree, TreeType::Date)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_GroupedTree, TreeType::Age)->Unit(benchmark::kMillisecond);

void BM_PlainSortBySize(benchmark::State& bench)
{
    Settings settings;
    FileList state;
    const TreeContext context{settings, QDateTime::currentDateTimeUtc(), {}};
    for (auto _ : bench) {
        bench.PauseTiming();
        fill(state);
        state.setPlainSortKey(SortKey::Size);
        bench.ResumeTiming();
        benchmark::DoNotOptimize(PlainSort(state, context, SortDirection::Ascending));
    }
}
BENCHMARK(BM_PlainSortBySize)->Unit(benchmark::kMillisecond)->Iterations(3);

/// The plain list a folder's listing shows, one node per file, with icons by extension
/// (the coloured tabs) and without.
void BM_NameList(benchmark::State& bench)
{
    Settings settings;
    settings.tabColorSwap = int(bench.range(0));
    FileList state;
    fill(state);
    for (auto _ : bench) {
        BuildNameList(state, settings);
        benchmark::DoNotOptimize(state.tree().count());
    }
}
BENCHMARK(BM_NameList)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
