// Expanding a folder with many subfolders: one locked load (one model reset), with the
// look-ahead read of every new subfolder.
#include "browse/FolderTree.h"

#include <QDir>
#include <QFile>
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

// Expanding a folder whose one subfolder holds many files and no folder: the expand
// mark of that subfolder must not cost a read of all its entries.
void BM_ExpandAboveAFolderOfManyFiles(benchmark::State& state)
{
    const int count = int(state.range(0));
    QTemporaryDir dir;
    QDir root(dir.path());
    root.mkpath(QStringLiteral("top/files"));
    for (int i = 0; i < count; ++i) {
        QFile f(root.filePath(QStringLiteral("top/files/f%1.txt").arg(i)));
        f.open(QIODevice::WriteOnly);
    }
    const QString top = dir.path() + QStringLiteral("/top");
    for (auto _ : state) {
        NodeTree tree;
        FolderTreeSources sources;
        sources.volumes = {
            {top, QStringLiteral("/dev/x"), QStringLiteral("ext4"), platform::VolumeKind::Fixed}};
        BuildFolderTree(tree, sources);
        FolderTreeState treeState;
        ExpandFolderNode(tree, treeState, tree.find(top));
        benchmark::DoNotOptimize(tree.count());
    }
}

} // namespace

BENCHMARK(BM_ExpandAboveAFolderOfManyFiles)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExpandManySubfolders)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
