#pragma once

#include "core/Result.h"

#include <QString>

#include <memory>

#include <optional>

class QSettings;

// The per-user settings store: an INI file ($XDG_CONFIG_HOME/Dorvane/Dorvane.ini) read and
// written through QSettings. Section and key names are written in lower case and matched
// without regard to case, so "Timer"/"timer" and "Path"/"path" name one entry.
class Settings
{
public:
    // Every entry the program keeps, with its default, in one table (Settings.cpp).
    enum class Entry {
        FirstRun,
        AutoRun,
        Random,
        Control,
        WinMode,
        TimerMinutes,
        TimerSeconds,
        ImagePath,
        Color,
    };

    explicit Settings(const QString& filePath = defaultFilePath());
    ~Settings();

    static QString defaultFilePath();
    const QString& filePath() const { return m_filePath; }

    // The generic pair: text in, text out; the default when the section or key is absent.
    QString GetSetting(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Fails when the store could not be written.
    Result<void> SaveSetting(const QString& section, const QString& key, const QString& value);

    static QString section(Entry entry);
    static QString key(Entry entry);
    static QString defaultValue(Entry entry);

    // The stored text of an entry, or its default.
    QString read(Entry entry) const;
    // The same with a default given by the caller (the folder box's text for the folder).
    QString read(Entry entry, const QString& defaultValue) const;
    Result<void> write(Entry entry, const QString& value);
    // Several entries at once, in one replacement of the file.
    Result<void> write(const QList<std::pair<Entry, QString>>& entries);
    // A section of the program's own keeping (a list of things): every key it had, in whatever
    // letter case, replaced by these keys and texts, in one replacement of the file.
    Result<void> replaceSection(const QString& section,
                                const QList<std::pair<QString, QString>>& keys);

    // The stored text read as a number; a text that is not a number counts as absent.
    double readNumber(Entry entry) const;
    // A flag reads as on for any number but 0.
    bool readFlag(Entry entry) const;
    // The colour the user chose (red in the low byte, green in the second, blue in the third);
    // nothing when none is stored, when what is stored is no colour, or when it is the default
    // colour: the windows then follow the desktop's palette.
    std::optional<quint32> chosenColor() const;

    // Succeeds when the file is absent or can be read and rewritten without losing anything.
    Result<void> checkFile() const;

    // A settings file larger than this is no real one: it is treated like a damaged one.
    static constexpr qint64 MaxFileSize = qint64(1) << 20;

private:
    struct Value
    {
        QString section;
        QString key;
        QString text;
    };
    Result<void> save(const QList<Value>& values);
    // The store about to be written; fails when the file may not be replaced.
    Result<void> openForWriting();
    // Writes the changes out.
    Result<void> sync();

    // The store read from the file, once: nothing when the file is not sound (then reported
    // on standard error once), until a write finds it sound again.
    QSettings* store() const;

    QString m_filePath;
    mutable std::unique_ptr<QSettings> m_store;
    mutable bool m_checked = false;
};
