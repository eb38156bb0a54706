#pragma once

#include "platform/DesktopNotifier.h"

// Notifications through the freedesktop notification service on the session bus, sent once the
// bus is there. Nothing waits for the service; where there is none, the note is lost,
// quietly.
class FreedesktopNotifier : public DesktopNotifier
{
public:
    void notify(const QString& title, const QString& text) override;
};
