#pragma once

#include "Contact.h"

#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>

class QDBusConnection;

namespace standin {

class MessengerAccount;

// The client's automation interface on the session bus, behind the adaptor generated from its
// description. Every refusal is a D-Bus error reply, so a caller can tell a refused request from
// a done one.
class MessengerService : public QObject, protected QDBusContext
{
    Q_OBJECT
public:
    static constexpr const char* NotSignedInError = "MessengerAPI.Error.NotSignedIn";
    static constexpr const char* InvalidPictureError = "MessengerAPI.Error.InvalidPicture";

    // With `hang`, calls are accepted and never answered, so that callers' time-outs can be
    // tried; the event loop keeps running meanwhile.
    explicit MessengerService(MessengerAccount* account, bool hang = false,
                              QObject* parent = nullptr);

    // Exports the object and takes the bus name; false with *error when either fails
    // (the name already has an owner, for one).
    bool registerOn(QDBusConnection& bus, QString* error);

public: // the interface's methods, as the adaptor calls them
    void SetMyProperty(int code, const QDBusVariant& value);
    QDBusVariant MyProperty(int code);
    QList<Contact> MyContacts();

private:
    bool holdBack();
    void refuse(const QString& errorName, const QString& message);

    MessengerAccount* m_account;
    bool m_hang;
};

} // namespace standin
