#pragma once

#include <QString>

class Form;

// The current language and the texts it gives the windows.
class LanguageSupport
{
public:
    explicit LanguageSupport(const QString& langDir);

    const QString& langDir() const { return m_langDir; }
    const QString& CurrentLang() const { return m_currentLang; }
    void setCurrentLang(const QString& name) { m_currentLang = name; }
    QString currentLangFile() const;

    void ApplyLanguage(Form* form);
    QString GetLangString(const QString& id);

private:
    QString m_langDir;
    QString m_currentLang;
};
