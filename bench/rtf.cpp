// A rich text file of thousands of coloured lines must load into a document that is
// laid out for a window in well under a tenth of a second.
#include "formats/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

/// `lines` lines, each in one of three colours, separated by \line (one paragraph).
QByteArray colouredLines(int lines)
{
    QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Courier New;}}"
                     "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green150\\blue0;"
                     "\\red0\\green0\\blue200;}\n";
    for (int i = 0; i < lines; ++i) {
        rtf += "\\cf" + QByteArray::number(1 + i % 3) + " line " + QByteArray::number(i) +
               " of the log, some words to fill it\\line\n";
    }
    return rtf + "}";
}

void LoadColouredLines(benchmark::State& bench)
{
    const QByteArray rtf = colouredLines(int(bench.range(0)));
    bench.counters["bytes"] = double(rtf.size());
    for (auto _ : bench) {
        QTextDocument document;
        document.setTextWidth(800); // laid out as a view window lays it out
        document.documentLayout();
        ReadRtf(rtf, document);
        benchmark::DoNotOptimize(document.blockCount());
    }
}
BENCHMARK(LoadColouredLines)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
