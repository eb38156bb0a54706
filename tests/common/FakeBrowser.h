#pragma once

#include "links/Browser.h"

#include <QList>

// Records the pages it was asked to open.
class FakeBrowser : public Browser
{
public:
    bool openUrl(const QUrl& url, QString*) override
    {
        m_opened.append(url);
        return true;
    }
    const QList<QUrl>& opened() const { return m_opened; }

private:
    QList<QUrl> m_opened;
};
