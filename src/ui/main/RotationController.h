#pragma once

#include "core/control/RotationControl.h"
#include "core/rotation/OutageNotices.h"

#include <chrono>

class DesktopNotifier;
class LanguageSupport;
class NotificationArea;
class PictureRotation;
class QAction;
class QMenu;

// The controller behind the notification area's menu, the command line and the session bus, on
// the main window's rotation and lifecycle. It keeps the state they show (the picture the client
// took last, why the last one did not reach it), puts it in the menu, and tells the desktop
// once when pictures have not reached the client for a while, and once when they do again.
class RotationController : public RotationControl
{
    Q_OBJECT
public:
    struct MenuItems
    {
        QMenu* menu;     // mnuTray
        QAction* next;   // mnunext
        QAction* pause;  // mnupause, which reads "Resume Rotation" while paused
        QAction* status; // mnustatus: who receives the pictures, and the last failure
    };

    RotationController(PictureRotation* rotation, NotificationArea* notificationArea,
                       const MenuItems& items, LanguageSupport* language, DesktopNotifier* notifier,
                       std::chrono::milliseconds outageNoticeAfter, QObject* parent = nullptr);

    void next() override;
    void pause() override;
    void resume() override;
    void show() override;

    QString currentPicture() const override { return m_current; }
    QString folder() const override;
    bool paused() const override;
    QString client() const override;
    QString lastError() const override { return m_lastError; }

    // The menu's texts in the current language and state.
    void updateMenu();

private:
    // A text of the current language, or its English when the language file lacks it.
    QString text(const char* id, const char* english) const;
    QString clientName() const;
    void tellOutage(bool outage, const QString& why);

    PictureRotation* m_rotation;
    NotificationArea* m_notificationArea;
    MenuItems m_items;
    LanguageSupport* m_language;
    DesktopNotifier* m_notifier;
    OutageNotices m_outage;
    QString m_current;
    QString m_lastError;
};
