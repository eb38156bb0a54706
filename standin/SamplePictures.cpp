#include "SamplePictures.h"

#include <QDir>

namespace standin {

QList<SamplePictures::Sample> SamplePictures::all()
{
    using F = PictureEncoder::Format;
    using S = PicturePainter::Shape;
    return {
        {QStringLiteral("amber-circle.png"), F::Png, {256, 256}, QStringLiteral("A"), S::Circle},
        {QStringLiteral("blue-stripes.jpg"), F::Jpeg, {200, 200}, QStringLiteral("B"), S::Stripes},
        {QStringLiteral("coral-diamond.gif"), F::Gif, {128, 128}, QStringLiteral("C"), S::Diamond},
        {QStringLiteral("dune-rings.bmp"), F::Bmp, {96, 96}, QStringLiteral("D"), S::Rings},
        {QStringLiteral("emerald-triangle.png"),
         F::Png,
         {96, 96},
         QStringLiteral("E"),
         S::Triangle},
        {QStringLiteral("frost-checks.jpg"), F::Jpeg, {160, 160}, QStringLiteral("F"), S::Checks},
        {QStringLiteral("garnet-star.png"), F::Png, {120, 120}, QStringLiteral("★"), S::Circle},
    };
}

bool SamplePictures::writeAll(const QString& folder, QStringList* problems)
{
    auto report = [problems](const QString& what) {
        if (problems)
            problems->append(what);
    };
    if (!QDir().mkpath(folder)) {
        report(QStringLiteral("%1: cannot create the folder").arg(folder));
        return false;
    }
    bool ok = true;
    for (const Sample& sample : all()) {
        const QImage picture =
            PicturePainter::paint(sample.fileName, sample.letter, sample.size, sample.shape);
        QString error;
        const QByteArray bytes = PictureEncoder::encode(picture, sample.format, &error);
        if (bytes.isEmpty() ||
            !PictureEncoder::writeFile(QDir(folder).filePath(sample.fileName), bytes, &error)) {
            report(QStringLiteral("%1: %2").arg(sample.fileName, error));
            ok = false;
        }
    }
    return ok;
}

} // namespace standin
