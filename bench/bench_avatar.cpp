// Preparing an account's avatar from a 4000 x 3000 JPEG (decode, scale into 96 x 96, PNG), the
// program's way (Avatar::fromFile: reduced JPEG decoding and its own bicubic resampler) beside
// Qt's (full decode, QImage::scaled with smooth transformation, PNG), with the ratio of their
// times printed at the end.
//
// Counters:
//   mad   mean absolute difference per channel from a reference made with stb_image_resize
//         (Catmull-Rom) on the fully decoded picture, in levels of 255
#include "Pictures.h"
#include "core/picture/Avatar.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QString g_path;
QImage g_reference;

double meanDifference(const QImage& a, const QImage& b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

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

// Keeps each benchmark's time a call so the ratio can be printed once both have run.
class TimeReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio() const
    {
        const auto ours = m_times.find("BM_AvatarFromFile");
        const auto qt = m_times.find("BM_QtSmoothScaled");
        if (ours == m_times.end() || qt == m_times.end() || ours->second <= 0)
            return;
        std::printf("Avatar::fromFile %.1f ms, Qt smooth scaling %.1f ms: %.2f times faster\n",
                    ours->second, qt->second, qt->second / ours->second);
    }

private:
    std::map<std::string, double> m_times;
};

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

    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio();
    benchmark::Shutdown();
    return 0;
}
