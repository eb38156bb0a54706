#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestEnvironment::TestEnvironment()
{
    for (const QString& sub :
         {QStringLiteral("home"), QStringLiteral("config"), QStringLiteral("xdg"),
          QStringLiteral("runtime"), QStringLiteral("tmp"), QStringLiteral("app")})
        QDir(root()).mkpath(sub);
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setVar("HOME", home().toLocal8Bit());
    setVar("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    setVar("XDG_CONFIG_DIRS", configDirs().toLocal8Bit());
    setVar("XDG_RUNTIME_DIR", runtimeDir().toLocal8Bit());
    setVar("TMPDIR", temp().toLocal8Bit());
    setVar("Temp", temp().toLocal8Bit());
    unsetVar("TEMP");
    setVar("BROWSER", "true");
}

TestEnvironment::~TestEnvironment()
{
    for (const auto& [name, value] : m_saved) {
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}

QString TestEnvironment::makeDir(const QString& relative) const
{
    QDir(root()).mkpath(relative);
    return root() + QLatin1Char('/') + relative;
}

QString TestEnvironment::writeFile(const QString& relative, const QByteArray& content) const
{
    QString path = root() + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

void TestEnvironment::setVar(const char* name, const QByteArray& value)
{
    const QByteArray key(name);
    if (!m_saved.contains(key))
        m_saved[key] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qputenv(name, value);
}

void TestEnvironment::unsetVar(const char* name)
{
    const QByteArray key(name);
    if (!m_saved.contains(key))
        m_saved[key] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    qunsetenv(name);
}
