// A thumbnail page of 25 large JPEGs (3264 x 2448, eight megapixels), decoded at the
// thumbnail size in parallel and painted in order; then the same page from the shared
// thumbnail cache.
#include "view/picture/ThumbnailCache.h"
#include "view/picture/ThumbnailPages.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

/// 25 different eight-megapixel photographs-like JPEGs, made once.
const QStringList& largeJpegs()
{
    static QTemporaryDir dir;
    static QStringList paths;
    if (paths.isEmpty()) {
        for (int i = 0; i < 25; ++i) {
            QImage image(3264, 2448, QImage::Format_RGB32);
            QPainter painter(&image);
            QLinearGradient gradient(0, 0, 3264, 2448);
            gradient.setColorAt(0, QColor::fromHsv(i * 14, 200, 230));
            gradient.setColorAt(1, QColor::fromHsv((i * 14 + 120) % 360, 180, 90));
            painter.fillRect(image.rect(), gradient);
            for (int k = 0; k < 60; ++k)
                painter.fillRect((k * 547 + i * 31) % 3000, (k * 331) % 2200, 200, 150,
                                 QColor::fromHsv((k * 37) % 360, 150, 200));
            painter.end();
            paths << dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
            image.save(paths.last(), "JPG", 90);
        }
    }
    return paths;
}

void ThumbnailPageOfLargeJpegs(benchmark::State& bench)
{
    const QStringList& paths = largeJpegs();
    for (auto _ : bench)
        benchmark::DoNotOptimize(DrawThumbnailPage(paths, 0, QSize(1000, 750)));
    bench.counters["ms_per_picture"] =
        benchmark::Counter(25.0 * double(bench.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(ThumbnailPageOfLargeJpegs)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same page shown again: every thumbnail comes from the shared cache (target: under
// 20 ms a page).
void ThumbnailPageFromTheSharedCache(benchmark::State& bench)
{
    const QStringList& paths = largeJpegs();
    QTemporaryDir cacheRoot;
    const ThumbnailCache cache(cacheRoot.path());
    benchmark::DoNotOptimize(DrawThumbnailPage(paths, 0, QSize(1000, 750), {}, {}, &cache));
    for (auto _ : bench)
        benchmark::DoNotOptimize(DrawThumbnailPage(paths, 0, QSize(1000, 750), {}, {}, &cache));
}
BENCHMARK(ThumbnailPageFromTheSharedCache)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
