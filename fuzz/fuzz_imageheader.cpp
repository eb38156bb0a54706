// Arbitrary bytes for the header reader (reused, as the tools window reuses it) against a plain
// walk over a freshly zeroed 64 KiB buffer: stale bytes of an earlier input would show.
#include "core/picture/ImageHeaderReader.h"
#include <array>
#include <cstdlib>
#include <cstring>

using Reading = std::array<int, 5>; // read, type, width, height, depth

static Reading reference(const uint8_t* data, size_t size)
{
    uint8_t b[65536] = {};
    std::memcpy(b, data, size < sizeof b ? size : sizeof b);
    const auto word = [](uint8_t low, uint8_t high) { return high * 256 + low; };
    // PNG: the bit depth times the samples of colour types 0, 2, 4 and 6; a palette has 8 bits.
    const int samples[7] = {1, 0, 3, 0, 2, 0, 4};
    if (!std::memcmp(b, "\x89PN", 3) && b[25] <= 6 && (b[25] == 3 || samples[b[25]])) {
        const int depth = b[25] == 3 ? 8 : b[24] * samples[b[25]];
        return depth > 255 ? Reading{0, 3}
                           : Reading{1, 3, word(b[19], b[18]), word(b[23], b[22]), depth};
    }
    if (!std::memcmp(b, "GIF", 3))
        return {1, 1, word(b[6], b[7]), word(b[8], b[9]), (b[10] & 7) + 1};
    if (!std::memcmp(b, "BM", 2))
        return {1, 4, word(b[18], b[19]), word(b[22], b[23]), b[28]};
    int q = 0; // JPEG: the markers from the first start of image up to a start of frame
    while (q < 65525 && !(b[q] == 0xFF && b[q + 1] == 0xD8 && b[q + 2] == 0xFF))
        ++q;
    for (q += 2; q < 65525; ++q) {
        if (b[q] != 0xFF || b[q + 1] == 0xFF)
            continue;
        const int m = b[++q], depth = b[q + 8] * 8;
        if ((m & 0xF0) == 0xC0 && m != 0xC4 && m != 0xC8 && m != 0xCC)
            return {depth <= 255, 2, word(b[q + 7], b[q + 6]), word(b[q + 5], b[q + 4]),
                    depth <= 255 ? depth : 0};
        q += word(b[q + 2], b[q + 1]) - 1;
    }
    return {1};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ImageHeaderReader reader;
    const Result<void> result = reader.readBuffer(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)));
    const bool read = result.ok();
    const Reading got{read, reader.ImageType(), reader.ImageWidth(), reader.ImageHeight(),
                      reader.Depth()};
    if (result.error().isEmpty() != read || got != reference(data, size))
        std::abort();
    return 0;
}
