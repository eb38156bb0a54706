#include "MessengerContact.h"

#include <QDBusMetaType>

void MessengerContact::registerMetaTypes()
{
    qDBusRegisterMetaType<MessengerContact>();
    qDBusRegisterMetaType<QList<MessengerContact>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const MessengerContact& contact)
{
    argument.beginStructure();
    argument << contact.signinName << contact.friendlyName;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, MessengerContact& contact)
{
    argument.beginStructure();
    argument >> contact.signinName >> contact.friendlyName;
    argument.endStructure();
    return argument;
}
