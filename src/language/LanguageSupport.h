#pragma once

#include <QString>

class Form;

// The current language (one for the whole program) and the texts it gives the windows: titles,
// captions, tooltips and tags of every control, and the messages by their four-digit id.
// Nothing here ever fails: a missing language file leaves the windows as they are.
class LanguageSupport
{
public:
    explicit LanguageSupport(const QString& langDir);

    const QString& langDir() const { return m_langDir; }
    QString settingFile() const;

    const QString& CurrentLang() const { return m_currentLang; }
    void setCurrentLang(const QString& name) { m_currentLang = name; }

    // The file of a language in the language folder. Names are matched without regard to case
    // when no file has the exact name, as users of the program expect from its language list.
    QString langFilePath(const QString& name) const;
    QString currentLangFile() const { return langFilePath(m_currentLang); }

    // Puts the current language's texts on the window and every control on it, letting pending
    // events run after each control.
    void ApplyLanguage(Form* form);
    // The message with this id from the current language; empty when there is none.
    QString GetLangString(const QString& id);
    // The language named in LangSetting.ini; empty when none is.
    QString storedLanguage() const;

private:
    QString m_langDir;
    QString m_currentLang;
};
