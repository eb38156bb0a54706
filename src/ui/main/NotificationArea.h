#pragma once

#include "ui/main/SysTray.h"

#include <QObject>

class QAction;
class QMenu;
class QWidget;
class RotationTimer;
class TrayIcon;

// The main window's life beside the notification area: minimised into the icon and brought back
// by it, its menu, started hidden there, and the end of the program when the window closes. Where
// the desktop has no notification area the window is only ever minimised, never hidden.
class NotificationArea : public QObject
{
    Q_OBJECT
public:
    static const QString TrayTip; // "Dorvane V 4.0"

    NotificationArea(QWidget* window, TrayIcon& tray, QMenu* menu, QAction* open, QAction* exit,
                     RotationTimer* timer, QObject* parent = nullptr);

    // Shows the window, or leaves it in the notification area when so started.
    void showAtStart(bool hidden);
    // What the rotation does, in the icon: a greyed icon while paused, and the line in its tip
    // under the program's name.
    void showState(bool paused, const QString& line);

    void Form_Resize();
    void mnuopen_Click();
    void mnuexit_Click();
    void Form_Unload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasTray() const;
    void addIcon();
    QIcon icon() const;
    QString tip() const;

    QWidget* m_window;
    TrayIcon& m_tray;
    RotationTimer* m_timer;
    SysTray m_sysTray;
    bool m_unloaded = false;
    bool m_paused = false;
    QString m_line;
};
