// Listing a generated folder: the directory read into the state, and the plain list
// rebuilt from listedNames.
#include "browse/FolderListing.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

/// A folder of `count` empty files with mixed names and extensions, made once per size.
const QString& folderOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto& dir = folders[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        const char* extensions[] = {"txt", "jpg", "doc", "mp3", "c", "HTML"};
        for (int i = 0; i < count; ++i) {
            QFile f(dir->filePath(QStringLiteral("File_%1_%2.%3")
                                      .arg((i * 7919) % count)
                                      .arg(QChar(u'a' + i % 26))
                                      .arg(QLatin1String(extensions[i % 6]))));
            f.open(QIODevice::WriteOnly);
        }
    }
    static QString path;
    path = dir->path();
    return path;
}

void ListAndRebuild(benchmark::State& bench)
{
    const QString folder = folderOf(int(bench.range(0)));
    const Settings settings;
    for (auto _ : bench) {
        FileList state;
        const int n = ListFolder(state, settings, folder, QStringLiteral("*.*"));
        RefreshFileList(state, settings, GroupedTrees());
        benchmark::DoNotOptimize(n);
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(ListAndRebuild)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void ListWithPattern(benchmark::State& bench)
{
    const QString folder = folderOf(int(bench.range(0)));
    const Settings settings;
    for (auto _ : bench) {
        FileList state;
        benchmark::DoNotOptimize(
            ListFolder(state, settings, folder, QStringLiteral("*.TXT;*.jpg;file_1*")));
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(ListWithPattern)->Arg(100000)->Unit(benchmark::kMillisecond);

/// The state after listing the generated folder of `count` files.
std::unique_ptr<FileList> listedFolder(int count, const Settings& settings)
{
    auto state = std::make_unique<FileList>();
    ListFolder(*state, settings, folderOf(count), QStringLiteral("*.*"));
    RefreshFileList(*state, settings, GroupedTrees());
    return state;
}

void BuildPlainList(benchmark::State& bench)
{
    const Settings settings;
    const std::unique_ptr<FileList> listed = listedFolder(int(bench.range(0)), settings);
    FileList& state = *listed;
    for (auto _ : bench)
        BuildNameList(state, settings);
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(BuildPlainList)->Arg(100000)->Unit(benchmark::kMillisecond);

void CopyListOfFolder(benchmark::State& bench)
{
    const Settings settings;
    const std::unique_ptr<FileList> listed = listedFolder(int(bench.range(0)), settings);
    const FileList& state = *listed;
    for (auto _ : bench)
        benchmark::DoNotOptimize(CopyListText(state.tree()));
}
BENCHMARK(CopyListOfFolder)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();

// The two ways into a folder: a click in the folder tree (OpenFolder) and a folder
// history entry, which opens only a folder holding files (OpenFolderWithFiles). Both
// must read the folder once.
void OpenFromTree(benchmark::State& bench)
{
    const QString folder = folderOf(int(bench.range(0)));
    const Settings settings;
    for (auto _ : bench) {
        FileList state;
        benchmark::DoNotOptimize(
            OpenFolder(state, settings, folder, QStringLiteral("*.*"), GroupedTrees()));
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(OpenFromTree)->Arg(100000)->Unit(benchmark::kMillisecond);

void OpenFromHistory(benchmark::State& bench)
{
    const QString folder = folderOf(int(bench.range(0)));
    const Settings settings;
    for (auto _ : bench) {
        FileList state;
        benchmark::DoNotOptimize(
            OpenFolderWithFiles(state, settings, folder, QStringLiteral("*.*"), GroupedTrees()));
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(OpenFromHistory)->Arg(100000)->Unit(benchmark::kMillisecond);
