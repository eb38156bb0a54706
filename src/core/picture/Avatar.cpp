#include "Avatar.h"

#include "core/language/Texts.h"
#include "core/picture/PictureLoader.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QImageWriter>

#include <algorithm>

Result<Avatar> Avatar::fromFile(const QString& path)
{
    // Only the box matters to the decoder: a JPEG is reduced while decoding to about twice it.
    Result<QImage> decoded = PictureLoader::decodeFile(path, QSize(MaxSide, MaxSide));
    if (!decoded)
        return Failure{decoded.error()};
    Result<Avatar> avatar = fromImage(std::move(decoded).value());
    if (!avatar)
        return PictureLoader::loadError(path);
    return avatar;
}

Result<Avatar> Avatar::fromImage(const QImage& image)
{
    const Failure failed{Texts::text(Text::AvatarNotMade)};
    if (image.isNull())
        return failed;

    // A picture that already fits is kept as it is: enlarging would only blur it.
    QSize size = image.size();
    if (size.width() > MaxSide || size.height() > MaxSide)
        size = size.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    QImage scaled = image;
    if (size != image.size()) {
        Result<QImage> resampled = PictureLoader::resampledBicubic(image, size);
        if (!resampled)
            return failed;
        scaled = std::move(resampled).value();
    }

    Avatar avatar;
    QBuffer out(&avatar.png);
    if (!out.open(QIODevice::WriteOnly) || !QImageWriter(&out, "png").write(scaled))
        return failed;
    avatar.sha1Hex = QCryptographicHash::hash(avatar.png, QCryptographicHash::Sha1).toHex();
    avatar.width = scaled.width();
    avatar.height = scaled.height();
    return avatar;
}
