#include "Browser.h"

#include <QDesktopServices>
#include <QObject>
#include <QProcess>

Browser::~Browser() = default;

bool SystemBrowser::openUrl(const QUrl& url, QString* error)
{
    const QString command = qEnvironmentVariable("BROWSER");
    if (!command.isEmpty()) {
        // The address is passed as one argument, never through a shell.
        if (QProcess::startDetached(command, {url.toString(QUrl::FullyEncoded)}))
            return true;
        if (error)
            *error = QObject::tr("The browser \"%1\" could not be started.").arg(command);
        return false;
    }
    if (QDesktopServices::openUrl(url))
        return true;
    if (error)
        *error = QObject::tr("No web browser could be started for %1.").arg(url.toString());
    return false;
}

QUrl vendorUrl(const QString& path)
{
    return QUrl(QStringLiteral(DORVANE_VENDOR_URL) + path);
}
