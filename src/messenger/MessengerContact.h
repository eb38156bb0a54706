#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

// One of the signed-in user's contacts, as it travels over the bus: the D-Bus structure (ss),
// sign-in name first.
struct MessengerContact
{
    QString signinName;
    QString friendlyName;

    bool operator==(const MessengerContact& other) const = default;

    // Makes MessengerContact and a list of them known to the D-Bus type system; called before
    // they are sent or received.
    static void registerMetaTypes();
};

QDBusArgument& operator<<(QDBusArgument& argument, const MessengerContact& contact);
const QDBusArgument& operator>>(const QDBusArgument& argument, MessengerContact& contact);

Q_DECLARE_METATYPE(MessengerContact)
