// Listing a zip of many entries through the ZIP reader: collecting the names for an
// archive node, counting, and finding one entry's details.
#include "archive/ExamineArchive.h"
#include "platform/Prompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

void Put(QByteArray& out, quint64 value, int width)
{
    for (int i = 0; i < width; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

/// A zip of `count` empty stored entries in a few folders, made once per size.
const QString& ZipOf(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> dirs;
    static QString path;
    auto& dir = dirs[count];
    if (!dir) {
        dir = std::make_unique<QTemporaryDir>();
        QByteArray local;
        QByteArray central;
        for (int i = 0; i < count; ++i) {
            const QByteArray name =
                "folder" + QByteArray::number(i % 50) + "/File_" + QByteArray::number(i) + ".txt";
            const quint32 offset = quint32(local.size());
            Put(local, 0x04034B50, 4);
            Put(local, 0, 22);
            Put(local, quint64(name.size()), 2);
            Put(local, 0, 2);
            local.append(name);
            Put(central, 0x02014B50, 4);
            Put(central, 20, 2);
            Put(central, 20, 2);
            Put(central, 0, 4);
            Put(central, 0x5A216000, 4);
            Put(central, 0, 12);
            Put(central, quint64(name.size()), 2);
            Put(central, 0, 8);
            Put(central, 0, 4);
            Put(central, offset, 4);
            central.append(name);
        }
        QByteArray end;
        Put(end, 0x06054B50, 4);
        Put(end, 0, 4);
        Put(end, quint64(count), 2);
        Put(end, quint64(count), 2);
        Put(end, quint64(central.size()), 4);
        Put(end, quint64(local.size()), 4);
        Put(end, 0, 2);
        QFile f(dir->filePath(QStringLiteral("many.zip")));
        if (f.open(QIODevice::WriteOnly))
            f.write(local + central + end);
    }
    path = dir->filePath(QStringLiteral("many.zip"));
    return path;
}

void CollectNames(benchmark::State& bench)
{
    const QString zip = ZipOf(int(bench.range(0)));
    for (auto _ : bench) {
        ScriptedPrompts prompts;
        benchmark::DoNotOptimize(ArchiveEntryNames(zip, prompts));
    }
    bench.SetItemsProcessed(bench.iterations() * bench.range(0));
}
BENCHMARK(CollectNames)->Arg(1000)->Arg(50000)->Unit(benchmark::kMillisecond);

void CountEntries(benchmark::State& bench)
{
    const QString zip = ZipOf(int(bench.range(0)));
    for (auto _ : bench) {
        ScriptedPrompts prompts;
        ArchiveSession session;
        session.request = ArchiveRequest::Count;
        ExamineArchive(zip, session, prompts);
        benchmark::DoNotOptimize(session.count);
    }
}
BENCHMARK(CountEntries)->Arg(50000)->Unit(benchmark::kMicrosecond);

void DetailsOfLastEntry(benchmark::State& bench)
{
    const int count = int(bench.range(0));
    const QString zip = ZipOf(count);
    for (auto _ : bench) {
        ScriptedPrompts prompts;
        ArchiveSession session;
        session.request = ArchiveRequest::Details;
        session.entryName =
            QStringLiteral("folder%1/File_%2.txt").arg((count - 1) % 50).arg(count - 1);
        ExamineArchive(zip, session, prompts);
        benchmark::DoNotOptimize(session.Details);
    }
}
BENCHMARK(DetailsOfLastEntry)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
