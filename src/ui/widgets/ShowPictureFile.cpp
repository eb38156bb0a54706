#include "ShowPictureFile.h"

#include "core/Twips.h"
#include "ui/widgets/ImageControl.h"

#include <QColor>

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

Result<void> ShowPictureFile(const QString& path, ImageControl* image)
{
    return ShowPictureFile(path, image, Twips::perPixelX(), Twips::perPixelY());
}

Result<void> ShowPictureFile(const QString& path, ImageControl* image, double twipsPerPixelX,
                             double twipsPerPixelY)
{
    if (!image)
        return PictureLoader::loadError(path);
    // A control whose window never gave it a design size is taken at its pixel size.
    const QSize target = image->hasDesignSize() ? pictureTargetSize(image->designWidthTwips(),
                                                                    image->designHeightTwips(),
                                                                    twipsPerPixelX, twipsPerPixelY)
                                                : image->size();
    Result<QImage> picture =
        PictureLoader::LoadScaledPicture(path, target.width(), target.height(), QColor(Qt::white));
    if (!picture)
        return Failure{picture.error()};
    image->setPicture(std::move(picture).value());
    return {};
}
