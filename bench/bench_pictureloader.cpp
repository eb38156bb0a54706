// Showing a picture in a 73 x 73 preview, next to the plain way of doing it: decode the whole
// file at full size with QImageReader, then the same bicubic resample of the whole picture.
//
// Counters:
//   peak_MiB  highest heap use above the starting point during one call, from every malloc,
//             calloc, realloc, aligned allocation and free in the process (operator new goes
//             through malloc), counted with malloc_usable_size
//   mad       mean absolute difference per channel from the plain way's result, in levels of 255
//
// The resample pair compares the loader's own bicubic kernel with stb_image_resize (Catmull-Rom,
// edge clamp, linear values) on the decoded 4000 x 3000 picture; mad is then measured between
// the two.

#include "BenchFigures.h"
#include "Pictures.h"
#include "core/picture/PictureLoader.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImageReader>
#include <QTemporaryDir>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <malloc.h>
#include <variant>

// ---- heap tracking --------------------------------------------------------------------------

extern "C" {
void* __libc_malloc(size_t size);
void __libc_free(void* pointer);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* pointer, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

std::atomic<long long> g_heapNow{0};
std::atomic<long long> g_heapPeak{0};

void noteHeap(long long delta)
{
    const long long now = g_heapNow.fetch_add(delta, std::memory_order_relaxed) + delta;
    long long peak = g_heapPeak.load(std::memory_order_relaxed);
    while (now > peak && !g_heapPeak.compare_exchange_weak(peak, now, std::memory_order_relaxed)) {
    }
}

long long sizeOf(void* pointer)
{
    return pointer ? static_cast<long long>(malloc_usable_size(pointer)) : 0;
}

// Starts a new peak from the current use and returns that use.
long long restartPeak()
{
    const long long now = g_heapNow.load(std::memory_order_relaxed);
    g_heapPeak.store(now, std::memory_order_relaxed);
    return now;
}

void* counted(void* pointer)
{
    noteHeap(sizeOf(pointer));
    return pointer;
}

} // namespace

extern "C" {

void* malloc(size_t size)
{
    return counted(__libc_malloc(size));
}

void free(void* ptr)
{
    noteHeap(-sizeOf(ptr));
    __libc_free(ptr);
}

void* calloc(size_t nmemb, size_t size)
{
    return counted(__libc_calloc(nmemb, size));
}

void* realloc(void* ptr, size_t size)
{
    const long long before = sizeOf(ptr);
    void* moved = __libc_realloc(ptr, size);
    if (moved)
        noteHeap(sizeOf(moved) - before);
    else if (size == 0)
        noteHeap(-before);
    return moved;
}

void* reallocarray(void* ptr, size_t nmemb, size_t size)
{
    size_t total = 0;
    if (__builtin_mul_overflow(nmemb, size, &total)) {
        errno = ENOMEM;
        return nullptr;
    }
    return realloc(ptr, total);
}

void* memalign(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(size_t alignment, size_t size)
{
    return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** memptr, size_t alignment, size_t size)
{
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0)
        return EINVAL;
    void* pointer = counted(__libc_memalign(alignment, size));
    if (!pointer)
        return ENOMEM;
    *memptr = pointer;
    return 0;
}

void* valloc(size_t size)
{
    return counted(__libc_memalign(4096, size));
}

} // extern "C"

// ---- pictures -------------------------------------------------------------------------------

namespace {

constexpr int Target = 73;

using Pictures::scenery;

QImage fastWay(const QString& path)
{
    Result<QImage> result = PictureLoader::LoadScaledPicture(path, Target, Target, Qt::white);
    return result ? std::move(result).value() : QImage();
}

QImage plainWay(const QString& path)
{
    QImageReader reader(path);
    QImage canvas = PictureLoader::CreateCanvas(Target, Target, Qt::white);
    if (!PictureLoader::DrawPictureOnCanvas(reader.read(), canvas, Target, Target))
        return {};
    return canvas;
}

// Qt's AVX code can leave the upper vector state dirty, which slows the SSE code of
// stb_image_resize several times on some processors; the loader clears it before its own
// resample, so the reference gets the same fair start.
void clearUpperVectorState()
{
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__AVX__)
    if (__builtin_cpu_supports("avx"))
        asm volatile("vzeroupper");
#endif
}

QImage stbResample(const QImage& image)
{
    clearUpperVectorState();
    return Pictures::referenceResample(image, QSize(Target, Target));
}

QImage kernelResample(const QImage& image)
{
    QImage canvas = PictureLoader::CreateCanvas(Target, Target, Qt::white);
    if (!PictureLoader::DrawPictureOnCanvas(image, canvas, Target, Target))
        return {};
    return canvas;
}

void runResample(benchmark::State& state, const QImage& image, QImage (*way)(const QImage&))
{
    long long peak = 0;
    for (auto _ : state) {
        const long long start = restartPeak();
        QImage picture = way(image);
        peak = std::max(peak, g_heapPeak.load(std::memory_order_relaxed) - start);
        benchmark::DoNotOptimize(picture);
    }
    state.counters["peak_MiB"] = double(peak) / (1024 * 1024);
    state.counters["mad"] = meanDifference(way(image), stbResample(image));
}

void run(benchmark::State& state, const QString& path, QImage (*way)(const QString&))
{
    long long peak = 0;
    for (auto _ : state) {
        const long long start = restartPeak();
        QImage picture = way(path);
        peak = std::max(peak, g_heapPeak.load(std::memory_order_relaxed) - start);
        if (picture.isNull()) {
            state.SkipWithError("picture not loaded");
            break;
        }
        benchmark::DoNotOptimize(picture);
    }
    state.counters["peak_MiB"] = double(peak) / (1024 * 1024);
    state.counters["mad"] = meanDifference(way(path), plainWay(path));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    const QImage big = scenery(4000, 3000);
    const struct
    {
        const char* name;
        QString path;
        QImage image;
        const char* format;
        int quality;
    } samples[] = {
        {"jpeg 4000x3000", dir.filePath(QStringLiteral("big.jpg")), big, "jpeg", 90},
        {"png 4000x3000", dir.filePath(QStringLiteral("big.png")), big, "png", -1},
        {"png 96x96", dir.filePath(QStringLiteral("small.png")), scenery(96, 96), "png", -1},
    };
    for (const auto& sample : samples) {
        if (!sample.image.save(sample.path, sample.format, sample.quality))
            return 1;
        const QString path = sample.path;
        benchmark::RegisterBenchmark((std::string("show/") + sample.name).c_str(),
                                     [path](benchmark::State& state) { run(state, path, fastWay); })
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark(
            (std::string("plain/") + sample.name).c_str(),
            [path](benchmark::State& state) { run(state, path, plainWay); })
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
    }
    const QImage decoded =
        QImageReader(samples[1].path).read().convertToFormat(QImage::Format_RGB32);
    benchmark::RegisterBenchmark(
        "resample/stb_image_resize 4000x3000",
        [&decoded](benchmark::State& state) { runResample(state, decoded, stbResample); })
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark(
        "resample/loader kernel 4000x3000",
        [&decoded](benchmark::State& state) { runResample(state, decoded, kernelResample); })
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
