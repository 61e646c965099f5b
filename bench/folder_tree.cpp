// Expanding a folder with many subfolders: one locked load (one model reset), with the
// look-ahead read of every new subfolder.
#include "browse/FolderTree.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_ExpandManySubfolders(benchmark::State& state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QDir root(dir.path());
    root.mkdir(QStringLiteral("big"));
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("big/folder%1").arg(i);
        root.mkdir(name);
        if (i % 10 == 0)
            root.mkdir(name + QStringLiteral("/inner"));
    }
    const QString big = dir.path() + QStringLiteral("/big");
    for (auto _ : state) {
        NodeTree tree;
        FolderTreeSources sources;
        sources.volumes = {
            {big, QStringLiteral("/dev/x"), QStringLiteral("ext4"), platform::VolumeKind::Fixed}};
        BuildFolderTree(tree, sources);
        FolderTreeState treeState;
        ExpandFolderNode(tree, treeState, tree.find(big));
        benchmark::DoNotOptimize(tree.count());
    }
    state.SetItemsProcessed(state.iterations() * count);
}

} // namespace

BENCHMARK(BM_ExpandManySubfolders)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
