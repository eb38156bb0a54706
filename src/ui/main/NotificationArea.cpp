#include "NotificationArea.h"

#include "core/rotation/RotationTimer.h"
#include "platform/TrayIcon.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

const QString NotificationArea::TrayTip = QStringLiteral("Dorvane V 4.0");

NotificationArea::NotificationArea(QWidget* window, TrayIcon& tray, QMenu* menu, QAction* open,
                                   QAction* exit, RotationTimer* timer, QObject* parent)
    : QObject(parent), m_window(window), m_tray(tray), m_timer(timer), m_sysTray(tray)
{
    connect(open, &QAction::triggered, this, &NotificationArea::mnuopen_Click);
    connect(exit, &QAction::triggered, this, &NotificationArea::mnuexit_Click);
    // The icon's own events, never the window's mouse moves: an activation brings the window
    // back, and the desktop opens the menu.
    connect(&m_tray, &TrayIcon::activated, this, &NotificationArea::mnuopen_Click);
    m_tray.setMenu(menu);
    m_window->installEventFilter(this);
}

bool NotificationArea::hasTray() const
{
    return m_tray.isSystemTrayAvailable();
}

void NotificationArea::showAtStart(bool hidden)
{
    if (!hidden) {
        m_window->show();
        return;
    }
    // Hidden in the notification area; without one the window is only minimised, never hidden
    // with nothing to bring it back.
    if (hasTray())
        addIcon();
    else
        m_window->showMinimized();
}

void NotificationArea::showState(bool paused, const QString& line)
{
    // Told at every tick; the desktop hears of it only when it changed.
    if (paused == m_paused && line == m_line)
        return;
    m_paused = paused;
    m_line = line;
    m_sysTray.update(icon(), tip());
}

QIcon NotificationArea::icon() const
{
    const QIcon icon = m_window->windowIcon();
    return m_paused ? QIcon(icon.pixmap(QSize(64, 64), QIcon::Disabled)) : icon;
}

QString NotificationArea::tip() const
{
    return m_line.isEmpty() ? TrayTip : TrayTip + QLatin1Char('\n') + m_line;
}

void NotificationArea::addIcon()
{
    m_sysTray.AddTrayIcon(icon(), tip());
}

void NotificationArea::Form_Resize()
{
    if (!m_window->isMinimized() || !hasTray())
        return;
    addIcon();
    // Hidden once the state change is through: showMinimized() shows the window again right
    // after this handler, and a window hidden in the middle of the change would stay on screen.
    QTimer::singleShot(0, m_window, [this] {
        if (m_window->isMinimized())
            m_window->hide();
    });
}

void NotificationArea::mnuopen_Click()
{
    // Wayland tells a program neither that its window was minimised nor any way to bring it
    // back but an activation the compositor may not offer (weston has none), so a window it
    // still counts as shown is mapped anew, which every compositor shows. Not while the contact
    // tools window is open over it: that one would end up behind it.
    if (m_window->isVisible() && !QApplication::activeModalWidget() &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        m_window->hide();
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowMinimized);
    m_window->showNormal();
    m_window->raise();
    m_window->activateWindow();
}

void NotificationArea::mnuexit_Click()
{
    m_window->close();
}

void NotificationArea::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_timer->stop();
    m_sysTray.RemoveTrayIcon();
    // Ends every event loop, the contact tools window's modal one included.
    QApplication::exit(0);
}

bool NotificationArea::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window) {
        if (event->type() == QEvent::WindowStateChange)
            Form_Resize();
        else if (event->type() == QEvent::Close)
            Form_Unload();
    }
    return QObject::eventFilter(watched, event);
}
