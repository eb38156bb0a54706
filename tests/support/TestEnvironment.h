#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <map>
#include <optional>

// Moves every folder the program could touch (home, configuration, cache, autostart, runtime
// folder, temporary folder) into a fresh temporary folder, points BROWSER at a command that does
// nothing and sets the C locale, for the lifetime of the object; the variables are put back
// afterwards.
class TestEnvironment
{
public:
    TestEnvironment()
    {
        const QString folders = "HOME=home XDG_CONFIG_HOME=config XDG_CACHE_HOME=cache "
                                "XDG_CONFIG_DIRS=xdg XDG_RUNTIME_DIR=runtime TMPDIR=tmp Temp=tmp";
        for (const QString& pair : folders.split(QLatin1Char(' ')))
            setVar(pair.section('=', 0, 0).toLatin1(), makeDir(pair.section('=', 1)).toLocal8Bit());
        QFile::setPermissions(runtimeDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        makeDir(QStringLiteral("app"));
        setVar("BROWSER", "true");
        setVar("LANG", "C.UTF-8"); // the program's language before any choice follows the locale
        for (const char* name : {"TEMP", "LC_ALL", "LC_MESSAGES"})
            unsetVar(name);
    }
    ~TestEnvironment()
    {
        for (const auto& [name, value] : m_saved)
            value ? void(qputenv(name.constData(), *value)) : void(qunsetenv(name.constData()));
    }

    QString root() const { return m_dir.path(); }
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    QString configHome() const { return path(QStringLiteral("config")); }
    QString configDirs() const { return path(QStringLiteral("xdg")); }
    QString runtimeDir() const { return path(QStringLiteral("runtime")); }
    QString temp() const { return path(QStringLiteral("tmp")); }
    // Stands for the program's own folder (lang/ and images/ beside the program).
    QString appDir() const { return path(QStringLiteral("app")); }
    QString settingsFile() const { return configHome() + QStringLiteral("/Dorvane/Dorvane.ini"); }

    // Makes a folder under root() and returns its path.
    QString makeDir(const QString& relative) const
    {
        QDir(root()).mkpath(relative);
        return path(relative);
    }
    // Writes a file under root() (making its folders) and returns its path.
    QString writeFile(const QString& relative, const QByteArray& content) const
    {
        QDir(root()).mkpath(QFileInfo(relative).path());
        QFile out(path(relative));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(content);
        return out.fileName();
    }
    // Empty when the file cannot be read.
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void setVar(const char* name, const QByteArray& value)
    {
        save(name);
        qputenv(name, value);
    }
    void unsetVar(const char* name)
    {
        save(name);
        qunsetenv(name);
    }

private:
    // Only the first value, the one from before the object, is put back.
    void save(const char* name)
    {
        const bool set = qEnvironmentVariableIsSet(name);
        m_saved.try_emplace(name, set ? std::optional(qgetenv(name)) : std::nullopt);
    }

    QTemporaryDir m_dir;
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};
