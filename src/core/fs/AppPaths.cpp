#include "AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

// Makes the folder and each missing folder above it, readable by the user alone; a folder that
// is there is left as it is. A failure shows when the folder is used.
void makePrivate(const QString& path)
{
    for (qsizetype slash = path.indexOf(u'/', 1);; slash = path.indexOf(u'/', slash + 1)) {
        ::mkdir(QFile::encodeName(slash < 0 ? path : path.left(slash)).constData(), S_IRWXU);
        if (slash < 0)
            return;
    }
}

} // namespace

namespace AppPaths {

QString tempDir()
{
    for (const char* name : {"Temp", "TEMP", "TMPDIR"}) {
        QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    // Never the shared /tmp, where another user could take the program's names first.
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) // a relative one is invalid, as for every XDG variable
        cache = QDir::homePath() + QStringLiteral("/.cache");
    QString own = cache + QStringLiteral("/Dorvane/Temp");
    makePrivate(own);
    return own;
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

QString harvestDir()
{
    return join(tempDir(), QStringLiteral("dvn"));
}

} // namespace AppPaths
