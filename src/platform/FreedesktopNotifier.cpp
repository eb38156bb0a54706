#include "FreedesktopNotifier.h"

#include "messenger/SessionBus.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QVariantMap>

void FreedesktopNotifier::notify(const QString& title, const QString& text)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // Application, replaces id, icon, summary, body, actions, hints, timeout (-1: the server's).
    message << QStringLiteral("Dorvane") << 0u << QStringLiteral("example.dorvane.Dorvane") << title
            << text << QStringList() << QVariantMap() << -1;
    SessionBus::whenReady(QCoreApplication::instance(),
                          [message](const QDBusConnection& bus) { bus.send(message); });
}
