#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

qint64 roundHalfEven(double value)
{
    // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
    return static_cast<qint64>(std::nearbyint(value));
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
    return static_cast<int>(roundHalfEven(twips / twipsPerPixel));
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
