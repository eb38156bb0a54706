#include "LanguageSupport.h"

#include "common/AppPaths.h"

LanguageSupport::LanguageSupport(const QString& langDir) : m_langDir(langDir) {}

QString LanguageSupport::currentLangFile() const
{
    return AppPaths::join(m_langDir, m_currentLang + QStringLiteral(".lng"));
}

void LanguageSupport::ApplyLanguage(Form*) {}

QString LanguageSupport::GetLangString(const QString&)
{
    return {};
}
