#pragma once

#include "platform/Browser.h"

// The desktop's browser: the command named by the variable BROWSER with the address as its one
// argument when it is set, otherwise the desktop's default handler.
class SystemBrowser : public Browser
{
public:
    Result<void> openUrl(const QUrl& url) override;
};
