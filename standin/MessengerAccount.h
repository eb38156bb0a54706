#pragma once

#include "ContactList.h"

#include <QImage>
#include <QObject>
#include <QString>

namespace standin {

// The signed-in user as the client knows them: sign-in name, contacts and the display
// picture, with a count of how often the picture was changed.
class MessengerAccount : public QObject
{
    Q_OBJECT

public:
    // The picture is kept no larger than this; the window shows it at this size.
    static constexpr int PictureSide = 192;

    MessengerAccount(QString signinName, bool signedIn, ContactList contacts,
                     QObject* parent = nullptr);

    const QString& signinName() const { return m_signinName; }
    bool isSignedIn() const { return m_signedIn; }
    const ContactList& contacts() const { return m_contacts; }

    const QString& displayPicturePath() const { return m_picturePath; }
    const QImage& displayPicture() const { return m_picture; }
    int changeCount() const { return m_changeCount; }

    // Makes the file the display picture. Refuses, with a reason in *error and nothing
    // changed, a path that is not absolute or a file that cannot be read as a picture.
    bool setDisplayPicture(const QString& path, QString* error = nullptr);

signals:
    void displayPictureChanged();

private:
    QString m_signinName;
    bool m_signedIn;
    ContactList m_contacts;
    QString m_picturePath;
    QImage m_picture;
    int m_changeCount = 0;
};

} // namespace standin
