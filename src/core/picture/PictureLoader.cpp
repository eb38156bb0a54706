#include "PictureLoader.h"

#include "core/fs/RegularFile.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace PictureLoader {

namespace {

bool fitsDecodeLimit(const QSize& size)
{
    return qint64(size.width()) * size.height() * 4 <= MaxDecodedBytes;
}

bool isAcceptedFormat(const QByteArray& format)
{
    return format == "png" || format == "jpeg" || format == "gif" || format == "bmp";
}

// Decodes the first picture of the file, or gives a null image. The header's size is checked
// before any pixel is decoded, so a small file declaring a huge picture costs nothing.
QImage decode(const QString& path, const QSize& target)
{
    // Qt's own guard against oversized allocations, in whole MiB, as a second line behind the
    // header check (it also counts formats wider than 4 bytes a pixel).
    QImageReader::setAllocationLimit(int(MaxDecodedBytes >> 20));

    // A name that now stands for a FIFO or a device is no picture, and must not hold the tick.
    // Qt's reader tells formats apart under a lock of its own: a read that never ends there (a
    // hung share) would stop every other picture in the program. The file is read here first.
    Result<QByteArray> read = RegularFile::readAll(path, MaxDecodedBytes);
    if (!read)
        return {};
    QBuffer content;
    content.setData(std::move(read).value());
    if (!content.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&content);
    // The content decides, as it does for a file with a misleading or missing suffix.
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    const QByteArray format = reader.format();
    if (!isAcceptedFormat(format))
        return {};

    const QSize fullSize = reader.size();
    if (fullSize.isValid()) {
        if (!fitsDecodeLimit(fullSize))
            return {};
        if (format == "jpeg" && reader.supportsOption(QImageIOHandler::ScaledSize)) {
            const QSize decodeSize = jpegDecodeSize(fullSize, target);
            if (decodeSize != fullSize)
                reader.setScaledSize(decodeSize);
        }
    }
    return reader.read();
}

// ---- Bicubic resampling -----------------------------------------------------------------------
//
// Written here rather than taken from stb_image_resize: the same Catmull-Rom filter, separable,
// with the weights computed once and each source row widened to floats once, gives the same
// pixels (within one level) about five times faster on large pictures (bench_pictureloader).

// Four channels of one pixel, processed together.
using Pixel = float __attribute__((vector_size(16)));

// Weights below this many keep the tables of a one-row-high oddity from outgrowing the picture.
constexpr qint64 MaxWeights = qint64(16) * 1024 * 1024;
// Sums kept at once for the rows of the result.
constexpr qint64 BandBytes = qint64(8) * 1024 * 1024;

// The interpolating cubic (Catmull-Rom: B = 0, C = 1/2); zero from a distance of 2 on.
double catmullRom(double x)
{
    x = std::fabs(x);
    if (x < 1)
        return (1.5 * x - 2.5) * x * x + 1;
    if (x < 2)
        return ((-0.5 * x + 2.5) * x - 4) * x + 2;
    return 0;
}

// For each target index along one axis, the source indices it reads and their weights.
// Windows move forward monotonically with the target index.
struct Taps
{
    std::vector<int> first;
    std::vector<int> count;
    std::vector<int> offset;
    std::vector<float> weights;

    int last(int target) const { return first[target] + count[target] - 1; }
};

bool makeTaps(int sourceSize, int targetSize, Taps& taps)
{
    const double scale = double(targetSize) / sourceSize;
    // Shrinking widens the filter so that every source pixel counts; enlarging interpolates.
    const double stretch = scale < 1 ? 1 / scale : 1;
    const double radius = 2 * stretch;
    const qint64 perTarget = qint64(std::ceil(2 * radius)) + 2;
    if (perTarget * targetSize > MaxWeights)
        return false;

    taps.first.resize(targetSize);
    taps.count.resize(targetSize);
    taps.offset.resize(targetSize);
    taps.weights.reserve(size_t(perTarget * targetSize));
    std::vector<double> window;
    for (int t = 0; t < targetSize; ++t) {
        const double center = (t + 0.5) / scale;
        const int low = int(std::floor(center - radius));
        const int high = int(std::ceil(center + radius));
        const int first = std::clamp(low, 0, sourceSize - 1);
        const int last = std::clamp(high, 0, sourceSize - 1);
        window.assign(size_t(last - first) + 1, 0.0);
        double sum = 0;
        for (int i = low; i <= high; ++i) {
            const double weight = catmullRom((i + 0.5 - center) / stretch);
            // Past the border the edge pixel repeats.
            window[size_t(std::clamp(i, 0, sourceSize - 1) - first)] += weight;
            sum += weight;
        }
        taps.first[t] = first;
        taps.count[t] = int(window.size());
        taps.offset[t] = int(taps.weights.size());
        for (double weight : window)
            taps.weights.push_back(float(weight / sum));
    }
    return true;
}

// Some of Qt's AVX code (QImage::fill, for one) returns with the upper halves of the vector
// registers still in use; until they are cleared, plain SSE code such as the loops below runs
// several times slower on some processors. Clearing them costs nothing where AVX is missing.
void clearUpperVectorState()
{
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__AVX__)
    static const bool hasAvx = __builtin_cpu_supports("avx");
    if (hasAvx)
        asm volatile("vzeroupper");
#endif
}

// One row of 4-byte pixels as floats.
void widenRow(const uchar* bytes, Pixel* out, int width)
{
    int x = 0;
#if defined(__SSE2__)
    // Four pixels at a time; the compiler does not find this on its own at -O2.
    const __m128i zero = _mm_setzero_si128();
    for (; x + 4 <= width; x += 4) {
        const __m128i packed =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + std::ptrdiff_t(4) * x));
        const __m128i low = _mm_unpacklo_epi8(packed, zero);
        const __m128i high = _mm_unpackhi_epi8(packed, zero);
        out[x] = Pixel(_mm_cvtepi32_ps(_mm_unpacklo_epi16(low, zero)));
        out[x + 1] = Pixel(_mm_cvtepi32_ps(_mm_unpackhi_epi16(low, zero)));
        out[x + 2] = Pixel(_mm_cvtepi32_ps(_mm_unpacklo_epi16(high, zero)));
        out[x + 3] = Pixel(_mm_cvtepi32_ps(_mm_unpackhi_epi16(high, zero)));
    }
#endif
    for (; x < width; ++x) {
        const uchar* pixel = bytes + std::ptrdiff_t(4) * x;
        out[x] = Pixel{float(pixel[0]), float(pixel[1]), float(pixel[2]), float(pixel[3])};
    }
}

// Weighted sum of `count` pixels, in four independent chains so that the additions overlap.
Pixel weightedSum(const float* weight, const Pixel* in, int count)
{
    Pixel sum0{};
    Pixel sum1{};
    Pixel sum2{};
    Pixel sum3{};
    int k = 0;
    for (; k + 4 <= count; k += 4) {
        sum0 += weight[k] * in[k];
        sum1 += weight[k + 1] * in[k + 1];
        sum2 += weight[k + 2] * in[k + 2];
        sum3 += weight[k + 3] * in[k + 3];
    }
    for (; k < count; ++k)
        sum0 += weight[k] * in[k];
    return (sum0 + sum1) + (sum2 + sum3);
}

// Resamples the whole of a 4-byte-per-pixel picture to the target's size, treating the four
// channels alike (so premultiplied alpha stays consistent).
bool resampleBicubic(const QImage& source, QImage& target)
{
    const int sourceWidth = source.width();
    const int targetWidth = target.width();
    const int targetHeight = target.height();
    clearUpperVectorState();
    Taps across;
    Taps down;
    try {
        if (!makeTaps(sourceWidth, targetWidth, across) ||
            !makeTaps(source.height(), targetHeight, down))
            return false;

        const int bandRows = int(std::clamp<qint64>(
            BandBytes / (qint64(targetWidth) * qint64(sizeof(Pixel))), 1, targetHeight));
        std::vector<Pixel> row(static_cast<size_t>(sourceWidth));
        std::vector<Pixel> filtered(static_cast<size_t>(targetWidth));
        std::vector<Pixel> sums(size_t(bandRows) * size_t(targetWidth));

        for (int bandStart = 0; bandStart < targetHeight; bandStart += bandRows) {
            const int bandEnd = std::min(targetHeight, bandStart + bandRows);
            std::fill(sums.begin(), sums.end(), Pixel{});
            int firstUser = bandStart;
            for (int y = down.first[bandStart]; y <= down.last(bandEnd - 1); ++y) {
                while (down.last(firstUser) < y)
                    ++firstUser;

                widenRow(source.constScanLine(y), row.data(), sourceWidth);
                for (int x = 0; x < targetWidth; ++x)
                    filtered[size_t(x)] =
                        weightedSum(&across.weights[size_t(across.offset[x])],
                                    &row[size_t(across.first[x])], across.count[x]);
                for (int t = firstUser; t < bandEnd && down.first[t] <= y; ++t) {
                    const float weight = down.weights[size_t(down.offset[t] + y - down.first[t])];
                    Pixel* out = &sums[size_t(t - bandStart) * size_t(targetWidth)];
                    for (int x = 0; x < targetWidth; ++x)
                        out[x] += weight * filtered[size_t(x)];
                }
            }

            for (int t = bandStart; t < bandEnd; ++t) {
                const Pixel* in = &sums[size_t(t - bandStart) * size_t(targetWidth)];
                uchar* out = target.scanLine(t);
                for (int x = 0; x < targetWidth; ++x)
                    for (int c = 0; c < 4; ++c)
                        out[4 * x + c] = uchar(std::clamp(in[x][c] + 0.5f, 0.0f, 255.0f));
            }
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace

Failure loadError(const QString& path)
{
    return Failure{QStringLiteral("Error loading picture %1 (error %2, %3)")
                       .arg(path)
                       .arg(ErrorNumber)
                       .arg(ErrorSource)};
}

QSize jpegDecodeSize(const QSize& fullSize, const QSize& target)
{
    if (fullSize.isEmpty() || target.isEmpty())
        return fullSize;
    // libjpeg scales by M/8 while decoding, averaging whole blocks, which is much cheaper than
    // decoding everything and throwing most of it away. Rounding down keeps Qt choosing that
    // same M; when libjpeg's size is a pixel larger Qt trims it by a smooth resize.
    for (int m = 1; m < 8; ++m) {
        const int width = int(qint64(fullSize.width()) * m / 8);
        const int height = int(qint64(fullSize.height()) * m / 8);
        if (width >= 2 * qint64(target.width()) && height >= 2 * qint64(target.height()))
            return {width, height};
    }
    return fullSize;
}

QImage CreateCanvas(int width, int height, const QColor& colour)
{
    if (width <= 0 || height <= 0)
        return {};
    QImage canvas(width, height, QImage::Format_RGB32);
    if (!canvas.isNull())
        canvas.fill(colour);
    return canvas;
}

Result<QImage> decodeFile(const QString& path, const QSize& target)
{
    QImage image = decode(path, target);
    if (image.isNull())
        return loadError(path);
    return image;
}

Result<QImage> resampledBicubic(QImage image, const QSize& size)
{
    const Failure failed{QStringLiteral("The picture could not be drawn.")};
    if (image.isNull() || size.isEmpty())
        return failed;

    // Transparent pictures are resampled premultiplied, so a fully transparent pixel adds
    // nothing and its hidden colour cannot bleed into the visible edge next to it.
    const QImage::Format format =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    if (image.format() != format)
        image.convertTo(format);
    QImage scaled(size, format);
    if (image.isNull() || scaled.isNull() || !resampleBicubic(image, scaled))
        return failed;
    return scaled;
}

Result<void> DrawPictureOnCanvas(QImage image, QImage& canvas, int width, int height)
{
    const Failure failed{QStringLiteral("The picture could not be drawn.")};
    if (canvas.isNull())
        return failed;
    const bool opaque = !image.hasAlphaChannel();
    Result<QImage> resampled = resampledBicubic(std::move(image), QSize(width, height));
    if (!resampled)
        return failed;
    const QImage scaled = std::move(resampled).value();

    if (canvas.format() != QImage::Format_RGB32)
        canvas.convertTo(QImage::Format_RGB32);
    const int drawWidth = std::min(width, canvas.width());
    const int drawHeight = std::min(height, canvas.height());
    for (int y = 0; y < drawHeight; ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(scaled.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(canvas.scanLine(y));
        if (opaque) {
            for (int x = 0; x < drawWidth; ++x)
                out[x] = in[x] | 0xff000000u;
            continue;
        }
        for (int x = 0; x < drawWidth; ++x) {
            // Source over: the bicubic filter may overshoot, so a channel can exceed its
            // alpha; clamping keeps such a pixel from spilling into its neighbour channel.
            const QRgb p = in[x];
            const int uncovered = 255 - qAlpha(p);
            const QRgb under = out[x];
            const auto over = [uncovered](int top, int bottom) {
                return std::min(255, top + (uncovered * bottom + 127) / 255);
            };
            out[x] = qRgb(over(qRed(p), qRed(under)), over(qGreen(p), qGreen(under)),
                          over(qBlue(p), qBlue(under)));
        }
    }
    return {};
}

Result<QImage> LoadScaledPicture(const QString& path, int width, int height,
                                 const QColor& background)
{
    // A collapsed control still gets a picture; a gigantic one is refused like a gigantic file.
    const QSize target(std::max(1, width), std::max(1, height));
    if (!fitsDecodeLimit(target))
        return loadError(path);

    QImage decoded = decode(path, target);
    if (decoded.isNull())
        return loadError(path);

    QImage canvas = CreateCanvas(target.width(), target.height(), background);
    if (canvas.isNull() ||
        !DrawPictureOnCanvas(std::move(decoded), canvas, target.width(), target.height()))
        return loadError(path);
    return canvas;
}

} // namespace PictureLoader
