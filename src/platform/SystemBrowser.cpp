#include "SystemBrowser.h"

#include <QDesktopServices>
#include <QObject>
#include <QProcess>

Result<void> SystemBrowser::openUrl(const QUrl& url)
{
    const QString command = qEnvironmentVariable("BROWSER");
    if (!command.isEmpty()) {
        // The address is passed as one argument, never through a shell.
        if (QProcess::startDetached(command, {url.toString(QUrl::FullyEncoded)}))
            return {};
        return Failure{QObject::tr("The browser \"%1\" could not be started.").arg(command)};
    }
    if (QDesktopServices::openUrl(url))
        return {};
    return Failure{QObject::tr("No web browser could be started for %1.").arg(url.toString())};
}
