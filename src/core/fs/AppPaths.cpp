#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace AppPaths {

QString tempDir()
{
    for (const char* name : {"Temp", "TEMP", "TMPDIR"}) {
        QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return QStringLiteral("/tmp");
}

QString join(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString userConfigDir()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Dorvane");
}

QString executableName()
{
    const QString path = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("dvn") : base;
}

QString messengerCacheDir()
{
    return join(tempDir(), QStringLiteral("MessengerCache"));
}

QString harvestDir()
{
    return join(tempDir(), QStringLiteral("dvn"));
}

} // namespace AppPaths
