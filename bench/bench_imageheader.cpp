// Files per second for the header reader against QImageReader::size() over the same 10,000
// small PNG, GIF, BMP and JPEG files, with the ratio of the two printed at the end.
#include "BenchFigures.h"
#include "Pictures.h"
#include "core/picture/ImageHeaderReader.h"

#include <QColor>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int FileCount = 10000;

QByteArray encoded(const QImage& image, const char* format)
{
    QByteArray bytes = Pictures::encoded(image, format);
    if (bytes.isEmpty())
        qFatal("cannot encode %s", format);
    return bytes;
}

// Qt writes no GIF; a one-colour picture with an empty image block is all a header needs.
QByteArray gif(int width, int height)
{
    QByteArray bytes("GIF89a");
    bytes += char(width & 0xFF);
    bytes += char(width >> 8);
    bytes += char(height & 0xFF);
    bytes += char(height >> 8);
    bytes += QByteArray::fromHex("800000"
                                 "000000ffffff"
                                 "2c000000000100010000"
                                 "02024401003b");
    return bytes;
}

struct PictureSet
{
    QTemporaryDir dir;
    std::vector<QString> paths;
    int square = 0; // how many are 96 x 96
};

const PictureSet& pictures()
{
    static const std::unique_ptr<PictureSet> set = [] {
        auto made = std::make_unique<PictureSet>();
        if (!made->dir.isValid())
            qFatal("cannot make a temporary folder");

        struct Kind
        {
            const char* suffix;
            QByteArray bytes;
        };
        std::vector<Kind> kinds;
        for (const QSize size : {QSize(96, 96), QSize(64, 48), QSize(120, 90)}) {
            QImage image(size, QImage::Format_ARGB32);
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x)
                    image.setPixelColor(x, y, QColor(x * 2, y * 2, (x + y) % 256, 200));
            kinds.push_back({"png", encoded(image, "PNG")});
            kinds.push_back({"bmp", encoded(image.convertToFormat(QImage::Format_RGB888), "BMP")});
            kinds.push_back({"jpg", encoded(image.convertToFormat(QImage::Format_RGB32), "JPEG")});
            kinds.push_back({"gif", gif(size.width(), size.height())});
        }

        made->paths.reserve(FileCount);
        for (int i = 0; i < FileCount; ++i) {
            const size_t k = size_t(i) % kinds.size();
            const Kind& kind = kinds[k];
            made->square += k < 4;
            const QString path = made->dir.filePath(
                QStringLiteral("p%1.%2").arg(i, 5, 10, QLatin1Char('0')).arg(kind.suffix));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(kind.bytes) != kind.bytes.size())
                qFatal("cannot write %s", qPrintable(path));
            made->paths.push_back(path);
        }
        return made;
    }();
    return *set;
}

void BM_ReadImageInfo(benchmark::State& state)
{
    const PictureSet& set = pictures();
    ImageHeaderReader reader;
    int found = 0;
    for (auto _ : state) {
        for (const QString& path : set.paths) {
            (void)reader.ReadImageInfo(path); // a failure shows in the sizes counted
            found += reader.ImageWidth() == 96 && reader.ImageHeight() == 96;
        }
        benchmark::DoNotOptimize(found);
    }
    if (found != int(state.iterations()) * set.square)
        state.SkipWithError("wrong number of 96 x 96 pictures");
    state.counters["files/s"] =
        benchmark::Counter(double(state.iterations()) * FileCount, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadImageInfo)->Unit(benchmark::kMillisecond);

void BM_QImageReaderSize(benchmark::State& state)
{
    const PictureSet& set = pictures();
    int found = 0;
    for (auto _ : state) {
        for (const QString& path : set.paths)
            found += QImageReader(path).size() == QSize(96, 96);
        benchmark::DoNotOptimize(found);
    }
    state.counters["files/s"] =
        benchmark::Counter(double(state.iterations()) * FileCount, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_QImageReaderSize)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv); // image plugins are found through the application
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    FigureReporter reporter([](const benchmark::BenchmarkReporter::Run& run) {
        const auto rate = run.counters.find("files/s");
        return rate != run.counters.end() ? std::optional(rate->second.value) : std::nullopt;
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.printRatio(
        "BM_ReadImageInfo", "BM_QImageReaderSize",
        "ReadImageInfo %.0f files/s, QImageReader::size %.0f files/s, ratio %.2f\n");
    benchmark::Shutdown();
    return 0;
}
