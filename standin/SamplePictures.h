#pragma once

#include "PictureEncoder.h"
#include "PicturePainter.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace standin {

// The pictures that ship in images/ beside the program, so that a first start has
// something to rotate. All are drawn here; none is borrowed artwork.
class SamplePictures
{
public:
    struct Sample
    {
        QString fileName;
        PictureEncoder::Format format;
        QSize size;
        QString letter;
        PicturePainter::Shape shape;
    };

    static QList<Sample> all();

    // Writes every sample into the folder (made if missing). Carries on past a picture it
    // cannot write; false when any failed, each failure in *problems.
    static bool writeAll(const QString& folder, QStringList* problems = nullptr);
};

} // namespace standin
