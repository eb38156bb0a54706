#include "MessengerAccount.h"

#include <QFileInfo>
#include <QImageReader>

namespace standin {

MessengerAccount::MessengerAccount(QString signinName, bool signedIn, ContactList contacts,
                                   QObject* parent)
    : QObject(parent), m_signinName(std::move(signinName)), m_signedIn(signedIn),
      m_contacts(std::move(contacts))
{
}

bool MessengerAccount::setDisplayPicture(const QString& path, QString* error)
{
    auto refuse = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    // The caller is another process: a relative path would be read against our folder,
    // not theirs.
    if (path.isEmpty() || !QFileInfo(path).isAbsolute())
        return refuse(QStringLiteral("\"%1\" is not an absolute path").arg(path));
    if (!QFileInfo(path).isFile())
        return refuse(QStringLiteral("%1: no such file").arg(path));

    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage picture = reader.read();
    if (picture.isNull())
        return refuse(
            QStringLiteral("%1: cannot be read as a picture (%2)").arg(path, reader.errorString()));
    if (picture.width() > PictureSide || picture.height() > PictureSide)
        picture =
            picture.scaled(PictureSide, PictureSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);

    m_picturePath = path;
    m_picture = picture;
    ++m_changeCount;
    emit displayPictureChanged();
    return true;
}

} // namespace standin
