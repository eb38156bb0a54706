#pragma once

#include "platform/Browser.h"

#include <QList>

// Records the pages it was asked to open.
class FakeBrowser : public Browser
{
public:
    QList<QUrl> opened;

    bool openUrl(const QUrl& url, QString*) override
    {
        opened.append(url);
        return true;
    }
};
