#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>


// The notification-area icon. The real one wraps QSystemTrayIcon; tests use a fake.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~TrayIcon() override;

    // False where the desktop has no notification area.
    virtual bool isSystemTrayAvailable() const = 0;
    virtual void show(const QIcon& icon, const QString& toolTip) = 0;
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;

signals:
    void doubleClicked();
    // The user asked for the icon's menu at this screen position.
    void contextRequested(const QPoint& globalPos);
};
