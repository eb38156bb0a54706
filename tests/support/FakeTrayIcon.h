#pragma once

#include "platform/TrayIcon.h"
#include <QMenu>
#include <QPointer>

// A notification area the test controls: present or not; counts how often the icon was shown,
// and opens the icon's menu as a desktop does.
class FakeTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    bool available = true;
    int shows = 0;
    QString toolTip;
    QPointer<QMenu> menu;

    bool isSystemTrayAvailable() const override { return available; }
    void show(const QIcon&, const QString& tip) override
    {
        ++shows;
        toolTip = tip;
        m_visible = true;
    }
    void hide() override { m_visible = false; }
    bool isVisible() const override { return m_visible; }
    void setMenu(QMenu* newMenu) override { menu = newMenu; }

    void activate() { emit activated(); }
    void requestContext()
    {
        if (menu)
            menu->popup(QPoint(10, 10));
    }

private:
    bool m_visible = false;
};
