// The icon byte scan tests every byte of a file of up to 5,000,000 bytes before a save;
// reading the icon resources of a program must stay cheap enough for every icon page.
#include "formats/IconResources.h"
#include "formats/IconScan.h"

#include <QtEndian>
#include <benchmark/benchmark.h>

namespace {

/// `size` bytes with an icon image header every 4096 bytes and many near misses (a 40
/// with the wrong planes) in between.
QByteArray scanInput(qsizetype size)
{
    QByteArray bytes(size, '\x11');
    for (qsizetype at = 0; at + 64 < size; at += 64) {
        bytes[at] = 40;
        bytes[at + 4] = 32;
        bytes[at + 8] = 64;
        bytes[at + 12] = at % 4096 == 0 ? 1 : 2;
        bytes[at + 14] = 8;
    }
    return bytes;
}

void ScanFiveMegabytes(benchmark::State& bench)
{
    const QByteArray bytes = scanInput(5'000'000);
    qsizetype found = 0;
    for (auto _ : bench) {
        const QList<qint64> offsets = FindIconImageOffsets(bytes);
        found = offsets.size();
        benchmark::DoNotOptimize(offsets.constData());
    }
    bench.counters["images"] = double(found);
    bench.SetBytesProcessed(bench.iterations() * bytes.size());
}
BENCHMARK(ScanFiveMegabytes)->Unit(benchmark::kMillisecond);

void IcoFileOfTheLastImage(benchmark::State& bench)
{
    const QByteArray bytes = scanInput(5'000'000);
    const QList<qint64> offsets = FindIconImageOffsets(bytes);
    for (auto _ : bench)
        benchmark::DoNotOptimize(IcoFileForImage(bytes, offsets, int(offsets.size())).size());
}
BENCHMARK(IcoFileOfTheLastImage)->Unit(benchmark::kMicrosecond);

void NotAProgram(benchmark::State& bench)
{
    // Any file may be asked for its icons; one that is no program answers at once.
    const QByteArray bytes = scanInput(5'000'000);
    for (auto _ : bench)
        benchmark::DoNotOptimize(ReadIcons(bytes).size());
}
BENCHMARK(NotAProgram)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
