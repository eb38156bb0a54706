#include "ShowPictureFile.h"

#include "ui/forms/Twips.h"
#include "ui/widgets/ImageControl.h"

namespace {

constexpr double DefaultTwipsPerPixel = 15.0;

double usableTwipsPerPixel(double twipsPerPixel)
{
    return twipsPerPixel > 0 ? twipsPerPixel : DefaultTwipsPerPixel;
}

} // namespace

QSize pictureTargetSize(double widthTwips, double heightTwips, double twipsPerPixelX,
                        double twipsPerPixelY)
{
    return {Twips::toPixels(widthTwips, usableTwipsPerPixel(twipsPerPixelX)),
            Twips::toPixels(heightTwips, usableTwipsPerPixel(twipsPerPixelY))};
}

void ShowPictureFile(const QString& path, ImageControl* image)
{
    // A control whose window never gave it a design size is taken at its pixel size.
    const QSize target =
        image->hasDesignSize()
            ? pictureTargetSize(image->designWidthTwips(), image->designHeightTwips(),
                                Twips::perPixelX(), Twips::perPixelY())
            : image->size();
    image->showFile(path, target);
}
