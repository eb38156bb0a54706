#pragma once

#include "Contact.h"

#include <QDBusContext>
#include <QDBusVariant>
#include <QList>
#include <QObject>

class QDBusConnection;

namespace standin {

class MessengerAccount;

// The client's automation interface on the session bus. Every refusal is a D-Bus error
// reply, so a caller can tell a refused request from a done one.
class MessengerAdaptor : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "MessengerAPI.IMessenger")
    Q_CLASSINFO("D-Bus Introspection",
                "  <interface name=\"MessengerAPI.IMessenger\">\n"
                "    <method name=\"SetMyProperty\">\n"
                "      <arg name=\"code\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"value\" type=\"v\" direction=\"in\"/>\n"
                "    </method>\n"
                "    <method name=\"MyProperty\">\n"
                "      <arg name=\"code\" type=\"i\" direction=\"in\"/>\n"
                "      <arg name=\"value\" type=\"v\" direction=\"out\"/>\n"
                "    </method>\n"
                "    <method name=\"MyContacts\">\n"
                "      <arg name=\"contacts\" type=\"a(ss)\" direction=\"out\"/>\n"
                "    </method>\n"
                "  </interface>\n")

public:
    static constexpr const char* ServiceName = "MessengerAPI.Messenger";
    static constexpr const char* ObjectPath = "/MessengerAPI/Messenger";
    static constexpr const char* InterfaceName = "MessengerAPI.IMessenger";

    static constexpr const char* NotSignedInError = "MessengerAPI.Error.NotSignedIn";
    static constexpr const char* InvalidPictureError = "MessengerAPI.Error.InvalidPicture";

    // The property code of the display picture's path.
    static constexpr int DisplayPictureCode = 2;

    // With `hang`, calls are accepted and never answered, so that callers' time-outs can be
    // tried; the event loop keeps running meanwhile.
    explicit MessengerAdaptor(MessengerAccount* account, bool hang = false,
                              QObject* parent = nullptr);

    // Exports the object and takes the bus name; false with *error when either fails
    // (the name already has an owner, for one).
    bool registerOn(QDBusConnection& bus, QString* error);

public slots:
    void SetMyProperty(int code, const QDBusVariant& value);
    QDBusVariant MyProperty(int code);
    QList<standin::Contact> MyContacts();

private:
    bool holdBack();
    void refuse(const QString& errorName, const QString& message);

    MessengerAccount* m_account;
    bool m_hang;
};

} // namespace standin
