#include "SystemBrowser.h"
#include "core/language/Texts.h"

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
        return Failure{Texts::text(Text::BrowserNotStarted).arg(command)};
    }
    if (QDesktopServices::openUrl(url))
        return {};
    return Failure{Texts::text(Text::NoBrowser).arg(url.toString())};
}
