#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>

class QMenu;
class QSystemTrayIcon;

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

class SystemTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    explicit SystemTrayIcon(QObject* parent = nullptr);
    ~SystemTrayIcon() override;

    bool isSystemTrayAvailable() const override;
    void show(const QIcon& icon, const QString& toolTip) override;
    void hide() override;
    bool isVisible() const override;

private:
    QSystemTrayIcon* m_icon;
};
