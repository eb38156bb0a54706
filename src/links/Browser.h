#pragma once

#include <QString>
#include <QUrl>

// Opens pages in the user's web browser.
class Browser
{
public:
    virtual ~Browser();
    virtual bool openUrl(const QUrl& url, QString* error = nullptr) = 0;
};

// The desktop's browser: the command named by the variable BROWSER with the address as its one
// argument when it is set, otherwise the desktop's default handler.
class SystemBrowser : public Browser
{
public:
    bool openUrl(const QUrl& url, QString* error = nullptr) override;
};

// The vendor web site's address (scheme and host), and a page on it.
QUrl vendorUrl(const QString& path = QString());
