#include "LanguageSupport.h"

#include "core/fs/AppPaths.h"
#include "core/language/LangFile.h"

#include <QDir>
#include <QFileInfo>

LanguageSupport::LanguageSupport(const QString& langDir) : m_langDir(langDir) {}

QString LanguageSupport::settingFile() const
{
    return AppPaths::join(m_langDir, QStringLiteral("LangSetting.ini"));
}

QString LanguageSupport::langFilePath(const QString& name) const
{
    const QString fileName = name + QStringLiteral(".lng");
    QString exact = AppPaths::join(m_langDir, fileName);
    if (name.isEmpty() || QFileInfo::exists(exact))
        return exact;
    const QStringList candidates = QDir(m_langDir).entryList(QDir::Files);
    for (const QString& candidate : candidates) {
        if (candidate.compare(fileName, Qt::CaseInsensitive) == 0)
            return AppPaths::join(m_langDir, candidate);
    }
    return exact;
}

QString LanguageSupport::storedLanguage() const
{
    return LangFile::ReadLangValue(settingFile(), QStringLiteral("Language"),
                                   QStringLiteral("CurrentLanguage"))
        .valueOr(QString());
}

Result<QString> LanguageSupport::text(const QString& section, const QString& key) const
{
    return LangFile::ReadLangValue(currentLangFile(), section, key);
}

QString LanguageSupport::GetLangString(const QString& id)
{
    if (m_currentLang.isEmpty())
        m_currentLang = storedLanguage();
    return text(QStringLiteral("Strings"), id).valueOr(QString());
}
