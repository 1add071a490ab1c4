// Picture codec speed: JPEG decoding of a large base map compared with libjpeg-turbo's
// own djpeg on the same file, PNG and GIF encoding of typical saved pictures.
#include "ui/codecs.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Smooth colour fields with a little noise, like a shaded relief map.
TBitmap32 syntheticMap(int w, int h)
{
    TBitmap32 bmp(w, h);
    std::uint32_t state = 12345;
    for (int y = 0; y < h; ++y) {
        TColor32* row = bmp.scanLine(y);
        const double fy = double(y) / h;
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int noise = static_cast<int>((state >> 24) & 15) - 8;
            const double fx = double(x) / w;
            const double s = std::sin(fx * 31.0 + std::cos(fy * 17.0) * 3.0);
            auto c = [&](double v) { return static_cast<std::uint32_t>(std::clamp(int(v) + noise, 0, 255)); };
            row[x] = color32(c(90 + 80 * s * fy), c(120 + 60 * std::cos(fy * 23.0 + s)), c(140 + 100 * fx - 60 * s));
        }
    }
    return bmp;
}

// A drawing: flat areas, lines and text-like strokes over a transparent sheet.
TBitmap32 syntheticDrawing(int w, int h)
{
    TBitmap32 bmp(w, h, clTransparentWhite32);
    for (int i = 0; i < 60; ++i) {
        const TColor32 c = color32((i * 53) & 255, (i * 97) & 255, (i * 31) & 255);
        bmp.fillRect(QRect((i * 37) % w, (i * 61) % h, 40 + (i * 13) % 200, 30 + (i * 7) % 150), c);
        bmp.lineAA(0, i * 13 % h, w, (i * 29) % h, clBlack32);
    }
    return bmp;
}

QString largeJpegPath()
{
    static const QString path = [] {
        const QString p = QDir(QDir::tempPath()).filePath(QStringLiteral("orbiplate_bench_7200.jpg"));
        QString err;
        if (!savePicture(p, syntheticMap(7200, 3600), &err, 90))
            qFatal("%s", qPrintable(err));
        return p;
    }();
    return path;
}

double djpegSeconds(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QProcess proc;
    proc.start(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), QStringLiteral("/dev/null"), path});
    if (!proc.waitForFinished(60000) || proc.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() * 1e-9;
}

void BM_DecodeJpeg7200(benchmark::State& state)
{
    const QString path = largeJpegPath();
    // djpeg on the same file, best of three, for the ratio counter.
    double reference = 1e9;
    for (int i = 0; i < 3; ++i)
        reference = std::min(reference, djpegSeconds(path));
    double best = 1e9;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        TBitmap32 bmp;
        if (!loadPicture(path, bmp))
            state.SkipWithError("decoding failed");
        benchmark::DoNotOptimize(bmp.bits());
        const double s = timer.nsecsElapsed() * 1e-9;
        state.SetIterationTime(s);
        best = std::min(best, s);
    }
    // For comparison: allocating and clearing a fresh 7200 x 3600 bitmap (about
    // 100 MB). Decoders do not clear the pixels they are about to write.
    double alloc = 1e9;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer timer;
        timer.start();
        TBitmap32 bmp;
        bmp.setSize(7200, 3600);
        benchmark::DoNotOptimize(bmp.bits());
        alloc = std::min(alloc, timer.nsecsElapsed() * 1e-9);
    }
    state.counters["djpeg_s"] = reference;
    state.counters["best_s"] = best;
    state.counters["alloc_s"] = alloc;
    state.counters["ratio_to_djpeg"] = reference > 0 ? best / reference : -1;
}
BENCHMARK(BM_DecodeJpeg7200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Djpeg7200(benchmark::State& state)
{
    const QString path = largeJpegPath();
    for (auto _ : state) {
        const double s = djpegSeconds(path);
        if (s < 0)
            state.SkipWithError("djpeg failed");
        state.SetIterationTime(std::max(s, 0.0));
    }
}
BENCHMARK(BM_Djpeg7200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_EncodePng3600(benchmark::State& state)
{
    const TBitmap32 bmp = syntheticMap(3600, 1800);
    QByteArray out;
    for (auto _ : state) {
        encodePng(bmp, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodePng3600)->Unit(benchmark::kMillisecond);

void BM_EncodePng3600WithAlpha(benchmark::State& state)
{
    TBitmap32 bmp = syntheticMap(3600, 1800);
    bmp.draw(0, 0, syntheticDrawing(3600, 1800));
    bmp.fillRect(QRect(0, 0, 3600, 20), clTransparentWhite32);
    QByteArray out;
    for (auto _ : state) {
        encodePng(bmp, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodePng3600WithAlpha)->Unit(benchmark::kMillisecond);

void BM_DecodePng3600(benchmark::State& state)
{
    QByteArray data;
    encodePng(syntheticMap(3600, 1800), data);
    for (auto _ : state) {
        TBitmap32 bmp;
        decodePng(data, bmp);
        benchmark::DoNotOptimize(bmp.bits());
    }
}
BENCHMARK(BM_DecodePng3600)->Unit(benchmark::kMillisecond);

void BM_EncodeGif1188Photo(benchmark::State& state)
{
    const TBitmap32 bmp = syntheticMap(1188, 840);
    QByteArray out;
    for (auto _ : state) {
        encodeGif(bmp, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodeGif1188Photo)->Unit(benchmark::kMillisecond);

void BM_EncodeGif1188Drawing(benchmark::State& state)
{
    const TBitmap32 bmp = syntheticDrawing(1188, 840);
    QByteArray out;
    for (auto _ : state) {
        encodeGif(bmp, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodeGif1188Drawing)->Unit(benchmark::kMillisecond);

// Worst case for the palette search: every pixel a different colour.
void BM_EncodeGif1188Noise(benchmark::State& state)
{
    TBitmap32 bmp(1188, 840);
    std::uint32_t seed = 99;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            bmp.setPixel(x, y, seed | 0xFF000000u);
        }
    QByteArray out;
    for (auto _ : state) {
        encodeGif(bmp, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodeGif1188Noise)->Unit(benchmark::kMillisecond);

void BM_EncodeJpeg3600(benchmark::State& state)
{
    const TBitmap32 bmp = syntheticMap(3600, 1800);
    QByteArray out;
    for (auto _ : state) {
        encodeJpeg(bmp, out, 90);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = out.size();
}
BENCHMARK(BM_EncodeJpeg3600)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
