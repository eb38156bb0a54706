// Preparing an account's avatar from a 4000 x 3000 JPEG (decode, scale into 96 x 96, PNG), the
// program's way (Avatar::fromFile: reduced JPEG decoding and its own bicubic resampler) beside
// Qt's (full decode, QImage::scaled with smooth transformation, PNG), with the ratio of their
// times printed at the end.
//
// Counters:
//   mad   mean absolute difference per channel from a reference made with stb_image_resize
//         (Catmull-Rom) on the fully decoded picture, in levels of 255
#include "BenchFigures.h"
#include "Pictures.h"
#include "core/picture/Avatar.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString g_path;
QImage g_reference;

void BM_AvatarFromFile(benchmark::State& state)
{
    QByteArray png;
    for (auto _ : state) {
        Result<Avatar> avatar = Avatar::fromFile(g_path);
        if (!avatar) {
            state.SkipWithError("no avatar");
            return;
        }
        png = std::move(avatar).value().png;
        benchmark::DoNotOptimize(png);
    }
    state.counters["mad"] = meanDifference(QImage::fromData(png), g_reference);
}
BENCHMARK(BM_AvatarFromFile)->Unit(benchmark::kMillisecond);

void BM_QtSmoothScaled(benchmark::State& state)
{
    QByteArray png;
    for (auto _ : state) {
        const QImage scaled = QImageReader(g_path).read().scaled(
            Avatar::MaxSide, Avatar::MaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        png.clear();
        QBuffer out(&png);
        if (!out.open(QIODevice::WriteOnly) || !QImageWriter(&out, "png").write(scaled)) {
            state.SkipWithError("no avatar");
            return;
        }
        benchmark::DoNotOptimize(png);
    }
    state.counters["mad"] = meanDifference(QImage::fromData(png), g_reference);
}
BENCHMARK(BM_QtSmoothScaled)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // image plugins are found through the application
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("big.jpg"));
    const QImage big = Pictures::scenery(4000, 3000);
    if (!big.save(g_path, "jpeg", 90))
        return 1;
    g_reference = Pictures::referenceResample(QImageReader(g_path).read(), QSize(96, 72));

    FigureReporter reporter([](const benchmark::BenchmarkReporter::Run& run) {
        return run.iterations > 0 ? std::optional(run.GetAdjustedRealTime()) : std::nullopt;
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio(
        "BM_QtSmoothScaled", "BM_AvatarFromFile",
        "Qt smooth scaling %.1f ms, Avatar::fromFile %.1f ms: %.2f times as long\n");
    benchmark::Shutdown();
    return 0;
}
