#pragma once

#include <QtGlobal>

// Positions and sizes are designed in twips (1/1440 inch). Pixel sizes are derived from
// them so that mirroring and other layout arithmetic stays exact in twips.
namespace Twips {

// Rounds to the nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
qint64 roundHalfEven(double value);

// Twips per pixel of the primary screen: 1440 / logical dots per inch (15 at 96 dpi).
double perPixelX();
double perPixelY();

// twips / twipsPerPixel, rounded half to even.
int toPixels(double twips, double twipsPerPixel);
int toPixelsX(double twips);
int toPixelsY(double twips);

} // namespace Twips
