#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>

namespace standin {

// One contact as it travels over the bus: the D-Bus structure (ss), sign-in name first.
struct Contact
{
    QString signinName;
    QString friendlyName;

    bool operator==(const Contact& other) const = default;

    // Makes Contact and QList<Contact> known to the D-Bus type system; call before the
    // object that returns them is registered.
    static void registerMetaTypes();
};

QDBusArgument& operator<<(QDBusArgument& argument, const Contact& contact);
const QDBusArgument& operator>>(const QDBusArgument& argument, Contact& contact);

} // namespace standin

Q_DECLARE_METATYPE(standin::Contact)
