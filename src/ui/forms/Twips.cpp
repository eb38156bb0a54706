#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Twips {

qint64 roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    // Values no screen can hold are brought within range rather than overflowing.
    if (std::isnan(value))
        return 0;
    const double bound = 9.0e18;
    return static_cast<qint64>(std::nearbyint(std::clamp(value, -bound, bound)));
}

static double dpiOrDefault(double dpi)
{
    return dpi > 0 ? dpi : 96.0;
}

double perPixelX()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return 1440.0 / dpiOrDefault(screen ? screen->logicalDotsPerInchX() : 96.0);
}

double perPixelY()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return 1440.0 / dpiOrDefault(screen ? screen->logicalDotsPerInchY() : 96.0);
}

int toPixels(double twips, double twipsPerPixel)
{
    const qint64 pixels = roundHalfEven(twips / twipsPerPixel);
    return static_cast<int>(std::clamp<qint64>(pixels, std::numeric_limits<int>::min(),
                                               std::numeric_limits<int>::max()));
}

int toPixelsX(double twips)
{
    return toPixels(twips, perPixelX());
}

int toPixelsY(double twips)
{
    return toPixels(twips, perPixelY());
}

} // namespace Twips
