#include "AppPaths.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace AppPaths {

namespace {
QString& overriddenAppDir()
{
    static QString dir;
    return dir;
}
} // namespace

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

QString applicationDir()
{
    if (!overriddenAppDir().isEmpty())
        return overriddenAppDir();
    return QCoreApplication::applicationDirPath();
}

void setApplicationDirForTesting(const QString& dir)
{
    overriddenAppDir() = dir;
}

QString executableName()
{
    const QString path = QCoreApplication::applicationFilePath();
    const QString base = QFileInfo(path).completeBaseName();
    return base.isEmpty() ? QStringLiteral("dvn") : base;
}

QString langDir()
{
    return join(applicationDir(), QStringLiteral("lang"));
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
