#pragma once

#include <QIcon>
#include <QObject>

class QMenu;

// The notification-area icon. The real one wraps QSystemTrayIcon; tests use a fake.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // False where the desktop has no notification area.
    virtual bool isSystemTrayAvailable() const = 0;
    virtual void show(const QIcon& icon, const QString& toolTip) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // The icon's menu: shown at the icon's context request, or handed to a host that draws the
    // menus of its items itself.
    virtual void setMenu(QMenu* menu) = 0;

signals:
    // The user asked for the window back: a double-click on the icon, or an activation of the
    // item by a StatusNotifierItem host (a single click there).
    void activated();
};
