#pragma once

#include "core/Result.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// A picture as an account's avatar: a PNG of at most MaxSide x MaxSide pixels, the whole picture
// scaled to fit with its aspect kept, and the SHA-1 that names it on the server.
struct Avatar
{
    static constexpr int MaxSide = 96;

    QByteArray png;
    QByteArray sha1Hex; // lower-case hexadecimal, as the avatar's id
    int width = 0;
    int height = 0;

    // Reads, decodes, scales and encodes the picture file. Blocks on the file: call it from a
    // thread of its own, never the window's.
    static Result<Avatar> fromFile(const QString& path);
    // The same from a decoded picture.
    static Result<Avatar> fromImage(const QImage& image);
};
