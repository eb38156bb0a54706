#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestEnvironment::TestEnvironment()
{
    for (const char* sub : {"home", "config", "xdg", "runtime", "tmp", "app"})
        QDir(root()).mkpath(QString::fromLatin1(sub));
    QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setVar("HOME", path(QStringLiteral("home")).toLocal8Bit());
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
    return path(relative);
}

QString TestEnvironment::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString file = path(relative);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        out.write(content);
    return file;
}

QByteArray TestEnvironment::read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestEnvironment::save(const char* name)
{
    const QByteArray key(name);
    if (!m_saved.contains(key))
        m_saved[key] =
            qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
}

void TestEnvironment::setVar(const char* name, const QByteArray& value)
{
    save(name);
    qputenv(name, value);
}

void TestEnvironment::unsetVar(const char* name)
{
    save(name);
    qunsetenv(name);
}
