// Feeds arbitrary bytes to the header reader and checks its answer against a plain,
// position-by-position walk over a freshly zeroed 64 KiB buffer. The reader under test is
// reused across inputs, so stale bytes of a longer earlier input would show up as a mismatch.
#include "core/picture/ImageHeaderReader.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct Result
{
    bool ok = true;
    int type = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
};

int word(uint8_t low, uint8_t high)
{
    return high * 256 + low;
}

Result reference(const uint8_t* data, size_t size)
{
    static uint8_t b[65536];
    std::memset(b, 0, sizeof b);
    std::memcpy(b, data, size < sizeof b ? size : sizeof b);

    Result r;
    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E) {
        r.type = 3;
        int depth = 0;
        switch (b[25]) {
        case 0:
            depth = b[24];
            break;
        case 2:
            depth = b[24] * 3;
            break;
        case 3:
            depth = 8;
            break;
        case 4:
            depth = b[24] * 2;
            break;
        case 6:
            depth = b[24] * 4;
            break;
        default:
            r.type = 0;
            break;
        }
        if (r.type == 3) {
            if (depth > 255) {
                r.ok = false;
                return r;
            }
            r.depth = depth;
            r.width = word(b[19], b[18]);
            r.height = word(b[23], b[22]);
        }
    }
    if (b[0] == 'G' && b[1] == 'I' && b[2] == 'F') {
        r.type = 1;
        r.width = word(b[6], b[7]);
        r.height = word(b[8], b[9]);
        r.depth = (b[10] & 7) + 1;
    }
    if (b[0] == 'B' && b[1] == 'M') {
        r.type = 4;
        r.width = word(b[18], b[19]);
        r.height = word(b[22], b[23]);
        r.depth = b[28];
    }
    if (r.type != 0)
        return r;

    int p = 0;
    while (!(b[p] == 0xFF && b[p + 1] == 0xD8 && b[p + 2] == 0xFF) && p < 65525)
        ++p;
    int q = p + 2;
    if (q >= 65525)
        return r;
    for (;;) {
        if (b[q] == 0xFF && b[q + 1] != 0xFF) {
            ++q;
            const uint8_t m = b[q];
            const bool frame = (m >= 0xC0 && m <= 0xC3) || (m >= 0xC5 && m <= 0xC7) ||
                               (m >= 0xC9 && m <= 0xCB) || (m >= 0xCD && m <= 0xCF);
            if (frame)
                break;
            q += word(b[q + 2], b[q + 1]);
            if (q >= 65525)
                return r;
        } else {
            ++q;
            if (q >= 65525)
                return r;
        }
    }
    r.type = 2;
    r.height = word(b[q + 5], b[q + 4]);
    r.width = word(b[q + 7], b[q + 6]);
    if (b[q + 8] * 8 > 255) {
        r.ok = false;
        return r;
    }
    r.depth = b[q + 8] * 8;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static ImageHeaderReader reader;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    QString error;
    const bool ok = reader.readBuffer(bytes, &error);

    const Result expected = reference(data, size);
    if (ok != expected.ok || error.isEmpty() != ok || reader.ImageType() != expected.type ||
        reader.ImageWidth() != expected.width || reader.ImageHeight() != expected.height ||
        reader.Depth() != expected.depth)
        std::abort();
    return 0;
}
