#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <map>
#include <optional>

// Moves every folder the program could touch (home, configuration, autostart, runtime,
// temporary folder) into a fresh temporary folder for the lifetime of the object, and
// puts the variables back afterwards.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    QString root() const { return m_dir.path(); }
    QString home() const { return root() + QStringLiteral("/home"); }
    QString configHome() const { return root() + QStringLiteral("/config"); }
    QString configDirs() const { return root() + QStringLiteral("/xdg"); }
    QString runtimeDir() const { return root() + QStringLiteral("/runtime"); }
    QString temp() const { return root() + QStringLiteral("/tmp"); }
    // Folder standing for the program's own folder (lang/ and images/ beside the program).
    QString appDir() const { return root() + QStringLiteral("/app"); }
    QString settingsFile() const { return configHome() + QStringLiteral("/Dorvane/Dorvane.ini"); }

    // Makes a folder under root() and returns its path.
    QString makeDir(const QString& relative) const;
    // Writes a file (creating its folders) and returns its path.
    QString writeFile(const QString& relative, const QByteArray& content) const;

    void setVar(const char* name, const QByteArray& value);
    void unsetVar(const char* name);

private:
    QTemporaryDir m_dir;
    std::map<QByteArray, std::optional<QByteArray>> m_saved;
};
