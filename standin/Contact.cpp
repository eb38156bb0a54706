#include "Contact.h"

#include <QDBusMetaType>

namespace standin {

void Contact::registerMetaTypes()
{
    qDBusRegisterMetaType<Contact>();
    qDBusRegisterMetaType<QList<Contact>>();
}

QDBusArgument& operator<<(QDBusArgument& argument, const Contact& contact)
{
    argument.beginStructure();
    argument << contact.signinName << contact.friendlyName;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, Contact& contact)
{
    argument.beginStructure();
    argument >> contact.signinName >> contact.friendlyName;
    argument.endStructure();
    return argument;
}

} // namespace standin
