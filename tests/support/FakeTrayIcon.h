#pragma once

#include "platform/TrayIcon.h"

// A notification area the test controls: present or not; counts how often the icon was shown.
class FakeTrayIcon : public TrayIcon
{
    Q_OBJECT
public:
    bool available = true;
    int shows = 0;
    QString toolTip;

    bool isSystemTrayAvailable() const override { return available; }
    void show(const QIcon&, const QString& tip) override
    {
        ++shows;
        toolTip = tip;
        m_visible = true;
    }
    void hide() override { m_visible = false; }
    bool isVisible() const override { return m_visible; }

    void doubleClick() { emit doubleClicked(); }
    void requestContext() { emit contextRequested(QPoint(10, 10)); }

private:
    bool m_visible = false;
};
