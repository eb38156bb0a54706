#include "BadPictureFolder.h"

#include "common/TestPictures.h"

#include <QFile>
#include <QRandomGenerator>

#include <unistd.h>

const QString BadPictureFolder::Vanishing = QStringLiteral("vanished %1 %2.png");
const QString BadPictureFolder::Unreadable = QStringLiteral("locked.png");

using namespace TestPictures;

namespace {

void putBigEndian(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

// Pixels that do not compress, so that half of the file is well short of the picture.
QImage noisy(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    QRandomGenerator generator(42);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, generator.generate() | 0xFF000000u);
    }
    return image;
}

} // namespace

BadPictureFolder::BadPictureFolder(QString folder) : m_folder(std::move(folder))
{
    const QByteArray png = encoded(noisy(64, 64), "PNG");
    const QByteArray jpeg = encoded(noisy(64, 64), "JPEG", 90);

    add(QStringLiteral("empty.jpg"), Kind::Broken, {});
    add(QStringLiteral("truncated.png"), Kind::Broken, png.left(png.size() / 2));
    add(QStringLiteral("truncated.jpg"), Kind::Partial, jpeg.left(jpeg.size() / 2));
    add(QStringLiteral("text.png"), Kind::Broken, "This is not a picture.\n");
    add(QStringLiteral("huge 30000 x 30000.png"), Kind::Broken, pngDeclaring(30000, 30000));

    const auto picture = [this](const QString& name, const char* format, const QColor& colour) {
        add(name, Kind::Picture, encoded(filled(16, 16, colour), format, 95), colour);
    };
    picture(QStringLiteral("with  two spaces .png"), "PNG", QColor(200, 30, 30));
    picture(QStringLiteral("quote ' and \" marks.png"), "PNG", QColor(30, 200, 30));
    picture(QStringLiteral("new\nline.png"), "PNG", QColor(30, 30, 200));
    picture(QStringLiteral("-leading dash.png"), "PNG", QColor(200, 200, 30));
    picture(QStringLiteral("Ünïcødé 写真 صورة.jpg"), "JPEG", QColor(30, 200, 200));
    picture(QStringLiteral("percent %1 %2 $HOME `id` \\ back.bmp"), "BMP", QColor(200, 30, 200));
    picture(Vanishing, "PNG", QColor(120, 120, 120));

    if (unreadableSkipReason().isEmpty()) {
        add(Unreadable, Kind::Broken, encoded(filled(16, 16, Qt::black), "PNG"));
        QFile::setPermissions(filePath(Unreadable), QFileDevice::Permissions());
    }
}

void BadPictureFolder::add(const QString& name, Kind kind, const QByteArray& bytes, QColor colour)
{
    QFile file(filePath(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
    m_files.append({name, kind, colour});
}

QStringList BadPictureFolder::names() const
{
    QStringList result;
    for (const File& f : m_files)
        result.append(f.name);
    return result;
}

std::optional<BadPictureFolder::File> BadPictureFolder::file(const QString& name) const
{
    for (const File& f : m_files) {
        if (f.name == name)
            return f;
    }
    return std::nullopt;
}

bool BadPictureFolder::removeVanishing() const
{
    return QFile::remove(filePath(Vanishing));
}

QString BadPictureFolder::unreadableSkipReason()
{
    if (::geteuid() == 0)
        return QStringLiteral("running as root, who can read a file of mode 000: the unreadable "
                              "file is left out");
    return {};
}

QByteArray BadPictureFolder::pngDeclaring(quint32 width, quint32 height)
{
    // A real one-pixel PNG with the header's size changed and its checksum made right again:
    // every reader takes the header at its word.
    QByteArray bytes = encoded(filled(1, 1, Qt::white), "PNG");
    // Signature (8), IHDR length (4), "IHDR" (4), width (4), height (4) ... CRC at 29.
    putBigEndian(bytes, 16, width);
    putBigEndian(bytes, 20, height);
    putBigEndian(bytes, 29, pngCrc(bytes.mid(12, 17)));
    return bytes;
}
