#pragma once

#include "platform/DesktopNotifier.h"

#include <QDBusConnection>

// Notifications through the freedesktop notification service on the session bus. Nothing waits
// for the service; where there is none, the note is lost, quietly.
class FreedesktopNotifier : public DesktopNotifier
{
public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());
    void notify(const QString& title, const QString& text) override;

private:
    QDBusConnection m_bus;
};
