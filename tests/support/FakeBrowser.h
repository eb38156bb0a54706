#pragma once

#include "platform/Browser.h"
#include <QList>

// Records the pages it was asked to open.
class FakeBrowser : public Browser
{
public:
    QList<QUrl> opened;

    Result<void> openUrl(const QUrl& url) override
    {
        opened.append(url);
        return {};
    }
};
