#include "ShowPictureFile.h"

#include "common/ImageControl.h"
#include "common/Twips.h"

#include <QColor>

#include <variant>

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

bool ShowPictureFile(const QString& path, ImageControl* image, PictureError* error)
{
    return ShowPictureFile(path, image, Twips::perPixelX(), Twips::perPixelY(), error);
}

bool ShowPictureFile(const QString& path, ImageControl* image, double twipsPerPixelX,
                     double twipsPerPixelY, PictureError* error)
{
    const auto fail = [&](const PictureError& reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!image)
        return fail(PictureLoader::loadError(path));

    // A control whose window never gave it a design size is taken at its pixel size.
    const QSize target = image->hasDesignSize() ? pictureTargetSize(image->designWidthTwips(),
                                                                    image->designHeightTwips(),
                                                                    twipsPerPixelX, twipsPerPixelY)
                                                : image->size();
    auto result =
        PictureLoader::LoadScaledPicture(path, target.width(), target.height(), QColor(Qt::white));
    if (const auto* reason = std::get_if<PictureError>(&result))
        return fail(*reason);
    image->setPicture(std::get<QImage>(result));
    return true;
}
