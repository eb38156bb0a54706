#pragma once

#include <QObject>

class DesktopNotifier;
class NotificationArea;
class QAction;
class QLabel;
class QMenu;
class Rotation;

// The rotation as the notification area and the window's status line show it: the tray menu's
// items (next, previous, pause or resume, and a line that says what the rotation does, who takes
// the pictures and the last failure), the same line under the preview and in the icon's tip, an
// icon that looks paused while paused, and a desktop note when pictures have failed for a while
// and when they arrive again. Its texts come from the current language, English where the
// language file lacks them.
class RotationMenu : public QObject
{
    Q_OBJECT
public:
    struct Items
    {
        QMenu* menu;       // mnuTray
        QAction* next;     // mnunext
        QAction* previous; // mnuprevious
        QAction* pause;    // mnupause, which reads "Resume Rotation" while paused
        QAction* status;   // mnustatus
        QLabel* line;      // lblstate, under the preview
    };

    RotationMenu(Rotation& rotation, const Items& items, NotificationArea* notificationArea,
                 DesktopNotifier& notifier, QObject* parent = nullptr);

    // The texts in the current language and state.
    void update();
    // What the rotation does, who takes the pictures and the last failure, in one line.
    QString statusLine() const;

private:
    QString receivers() const;
    void tellOutage(bool outage, const QString& why, const QString& client);

    Rotation& m_rotation;
    Items m_items;
    NotificationArea* m_notificationArea;
    DesktopNotifier& m_notifier;
};
