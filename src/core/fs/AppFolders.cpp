#include "AppFolders.h"

#include "core/fs/AppPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

AppFolders::AppFolders(QString programDir, QString dataDir)
    : m_programDir(std::move(programDir)), m_dataDir(std::move(dataDir))
{
}

AppFolders AppFolders::find(const QString& programDir)
{
    const QString installed =
        QDir::cleanPath(AppPaths::join(programDir, QStringLiteral("../share/dorvane")));
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

QString AppFolders::langDir() const
{
    return AppPaths::join(m_dataDir, QStringLiteral("lang"));
}

QString AppFolders::imagesDir() const
{
    return AppPaths::join(m_dataDir, QStringLiteral("images"));
}
