#include "AppFolders.h"

#include "core/fs/AppPaths.h"

#include <QCoreApplication>

AppFolders::AppFolders(QString programDir) : m_programDir(std::move(programDir)) {}

AppFolders AppFolders::ofRunningProgram()
{
    return AppFolders(QCoreApplication::applicationDirPath());
}

QString AppFolders::langDir() const
{
    return AppPaths::join(m_programDir, QStringLiteral("lang"));
}

QString AppFolders::imagesDir() const
{
    return AppPaths::join(m_programDir, QStringLiteral("images"));
}
