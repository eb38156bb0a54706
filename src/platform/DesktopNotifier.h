#pragma once

#include <QString>

// Desktop notifications: a short note the desktop shows for a while, never a dialog.
class DesktopNotifier
{
public:
    virtual ~DesktopNotifier() = default;
    virtual void notify(const QString& title, const QString& text) = 0;
};
