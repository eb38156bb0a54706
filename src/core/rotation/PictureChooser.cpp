#include "PictureChooser.h"

#include <algorithm>
#include <cmath>

namespace {

// The generator's fixed start state: every run draws the same order of pictures.
constexpr std::mt19937::result_type RandomSeed = 0x5EED;

} // namespace

PictureChooser::PictureChooser() : m_random(RandomSeed) {}

int PictureChooser::next(int current, int count)
{
    if (count <= 0)
        return -1;
    // Past the last picture the list's own rule takes the first one.
    const int row = current + 1;
    return row >= count ? 0 : row;
}

int PictureChooser::random(int count)
{
    if (count <= 0)
        return -1;
    // r uniform in [0, 1) from the generator's raw 32-bit output, the same on every platform.
    const double r = static_cast<double>(m_random()) / 4294967296.0;
    return std::min(count - 1, static_cast<int>(std::floor(r * count)));
}
