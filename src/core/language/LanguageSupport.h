#pragma once

#include "core/Result.h"

#include <QHash>
#include <QString>

// The current language (one for the whole program): where its file is, the choice stored in
// LangSetting.ini, and the messages by their four-digit id. A key the file lacks gives an empty
// text, which leaves the windows as they are.
class LanguageSupport
{
public:
    // The language files are in `langDir`. The choice is kept in LangSetting.ini in `userDir`
    // when the language files are an installed copy's, when their folder cannot be written or
    // when the user's own choice is already there; otherwise beside the language files (a build
    // tree).
    LanguageSupport(const QString& langDir, const QString& userDir);

    const QString& langDir() const { return m_langDir; }

    const QString& CurrentLang() const { return m_currentLang; }
    void setCurrentLang(const QString& name) { m_currentLang = name; }

    // The file of a language in the language folder. Names are matched without regard to case
    // when no file has the exact name, as users of the program expect from its language list.
    QString langFilePath(const QString& name) const;
    QString currentLangFile() const { return langFilePath(m_currentLang); }

    // A text of the current language's file: empty when its key is absent; fails when the file
    // cannot be read.
    Result<QString> text(const QString& section, const QString& key) const;
    // The message with this id from the current language; empty when there is none.
    QString GetLangString(const QString& id);
    // The language named in LangSetting.ini; empty when none is.
    QString storedLanguage() const;
    // The language to start in: the stored choice; before any choice, the language of the
    // session's locale when a file for it ships, else English (when its file is there).
    QString startLanguage() const;
    // Remembers the choice for the next start.
    Result<void> storeLanguage(const QString& name) const;

private:
    // The LangSetting.ini that is read: the user's own when there is one, or always for an
    // installed copy.
    QString settingFile() const;
    QString ownSettingFile() const;
    // The file name of a language's file without ".lng", as the language list shows it; empty
    // when no such file is there.
    QString shippedName(const QString& name) const;

    // What tells that a file changed: its modification time, size and inode.
    struct Stamp
    {
        qint64 modifiedNs = -1;
        qint64 size = -1;
        quint64 inode = 0;
        bool operator!=(const Stamp& other) const
        {
            return modifiedNs != other.modifiedNs || size != other.size || inode != other.inode;
        }
    };
    // The current language's file, read once and its sections taken apart once, until the file
    // changes: a window asks it for hundreds of texts at a time.
    struct Cache
    {
        QString file;
        Stamp stamp;
        Result<QByteArray> bytes = Failure{};
        QHash<QString, QHash<QString, QString>> sections;
    };
    const Cache& cached() const;

    QString m_langDir;
    QString m_userDir;
    bool m_installed;
    QString m_currentLang;
    mutable Cache m_cache;
};
