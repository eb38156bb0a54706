#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <optional>

// Moves every folder the program could touch (home, configuration, autostart, runtime folder,
// temporary folder) into a fresh temporary folder and points BROWSER at a command that does
// nothing, for the lifetime of the object; the variables are put back afterwards.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString root() const { return m_dir.path(); }
    // A path under root().
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    QString configHome() const { return path(QStringLiteral("config")); }
    QString configDirs() const { return path(QStringLiteral("xdg")); }
    QString runtimeDir() const { return path(QStringLiteral("runtime")); }
    QString temp() const { return path(QStringLiteral("tmp")); }
    // Stands for the program's own folder (lang/ and images/ beside the program).
    QString appDir() const { return path(QStringLiteral("app")); }
    QString settingsFile() const { return configHome() + QStringLiteral("/Dorvane/Dorvane.ini"); }

    // Makes a folder under root() and returns its path.
    QString makeDir(const QString& relative) const;
    // Writes a file under root() (making its folders) and returns its path.
    QString writeFile(const QString& relative, const QByteArray& content) const;
    // The whole content of a file; empty when it cannot be read.
    static QByteArray read(const QString& path);

    void setVar(const char* name, const QByteArray& value);
    void unsetVar(const char* name);

private:
    void save(const char* name);

    QTemporaryDir m_dir;
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};
