#pragma once

#include "core/picture/PictureLoader.h"

#include <QSize>
#include <QString>

class ImageControl;

// The pixel size of a picture for a control of the given design size in twips: each side
// divided by its twips per pixel and rounded to the nearest whole number, a half to the even
// neighbour.
QSize pictureTargetSize(double widthTwips, double heightTwips, double twipsPerPixelX,
                        double twipsPerPixelY);

// Shows the picture file in the image control, scaled over white to the control's size at the
// screen's twips per pixel, once a worker has read it. A file that cannot be shown leaves the
// control's picture as it was and is reported by the control's failed(); no message is shown.
void ShowPictureFile(const QString& path, ImageControl* image);
