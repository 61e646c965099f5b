// Adding a folder of 20,000 files to the basket and listing the basket in the file
// list, against listing the same folder, in one run: the "ratio" counter is basket time
// over listing time.
#include "basket/Basket.h"

#include "basket/BasketFileList.h"
#include "browse/FolderListing.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "trees/TreeRebuild.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

constexpr int Files = 20000;

const QString& folderOfFiles()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        const char* extensions[] = {"txt", "jpg", "doc", "mp3", "c", "HTML"};
        for (int i = 0; i < Files; ++i) {
            QFile f(dir.filePath(QStringLiteral("File_%1_%2.%3")
                                     .arg((i * 7919) % Files)
                                     .arg(QChar(u'a' + i % 26))
                                     .arg(QLatin1String(extensions[i % 6]))));
            f.open(QIODevice::WriteOnly);
            f.write("x", i % 3);
        }
        made = true;
    }
    static const QString path = dir.path() + QStringLiteral("/");
    return path;
}

double secondsOf(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BasketAgainstListing(benchmark::State& bench)
{
    const QString folder = folderOfFiles();
    const Settings settings;
    double listing = 0;
    double basketTime = 0;
    for (auto _ : bench) {
        listing += secondsOf([&] {
            FileList state;
            ListFolder(state, settings, folder, QStringLiteral("*.*"));
            RefreshFileList(state, settings, GroupedTrees());
            benchmark::DoNotOptimize(state.tree().count());
        });
        const double seconds = secondsOf([&] {
            ScriptedPrompts prompts;
            BasketHost host;
            Grid grid;
            Basket basket(grid, prompts, host);
            AddFolderToBasket(basket, folder, settings);
            FileList state;
            ShowBasketInFileList(basket, state, QStringLiteral("*"), settings);
            benchmark::DoNotOptimize(state.tree().count());
        });
        basketTime += seconds;
        bench.SetIterationTime(seconds);
    }
    bench.counters["listing_ms"] = 1000.0 * listing / double(bench.iterations());
    bench.counters["ratio"] = listing > 0 ? basketTime / listing : 0;
}
BENCHMARK(BasketAgainstListing)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
