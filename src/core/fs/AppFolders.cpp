#include "AppFolders.h"

#include "core/fs/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// The installed copy's files, relative to the prefix.
const QString InstalledData = QStringLiteral("share/dorvane");

} // namespace

AppFolders::AppFolders(QString programDir, QString dataDir)
    : m_programDir(std::move(programDir)), m_dataDir(std::move(dataDir))
{
}

AppFolders AppFolders::find(const QString& programDir)
{
    const QString installed =
        QDir::cleanPath(AppPaths::join(programDir, QStringLiteral("../") + InstalledData));
    for (const QString& dir : {programDir, installed}) {
        if (QFileInfo(AppPaths::join(dir, QStringLiteral("lang"))).isDir())
            return AppFolders(programDir, dir);
    }
    return AppFolders(programDir, programDir);
}

AppFolders AppFolders::ofRunningProgram()
{
    return find(QCoreApplication::applicationDirPath());
}

bool AppFolders::isInstalledLangDir(const QString& langDir)
{
    return QDir::cleanPath(langDir).endsWith(QLatin1Char('/') + InstalledData +
                                             QStringLiteral("/lang"));
}

QString AppFolders::langDir() const
{
    return AppPaths::join(m_dataDir, QStringLiteral("lang"));
}

QString AppFolders::imagesDir() const
{
    return AppPaths::join(m_dataDir, QStringLiteral("images"));
}
