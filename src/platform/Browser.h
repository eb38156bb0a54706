#pragma once

#include "core/Result.h"

#include <QUrl>

// Opens pages in the user's web browser.
class Browser
{
public:
    virtual ~Browser() = default;
    // Fails when no browser could be started.
    virtual Result<void> openUrl(const QUrl& url) = 0;
};
