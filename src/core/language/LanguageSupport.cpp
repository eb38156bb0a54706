#include "LanguageSupport.h"

#include "core/fs/AppPaths.h"
#include "core/language/LangFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

const QString SettingFileName = QStringLiteral("LangSetting.ini");

} // namespace

LanguageSupport::LanguageSupport(const QString& langDir, const QString& userDir)
    : m_langDir(langDir), m_userDir(userDir)
{
}

QString LanguageSupport::settingFile() const
{
    QString own = AppPaths::join(m_userDir, SettingFileName);
    if (!m_userDir.isEmpty() && QFileInfo::exists(own))
        return own;
    return AppPaths::join(m_langDir, SettingFileName);
}

Result<void> LanguageSupport::storeLanguage(const QString& name) const
{
    QString file = settingFile();
    if (!QFileInfo(m_langDir).isWritable() && !m_userDir.isEmpty()) {
        QDir().mkpath(m_userDir);
        file = AppPaths::join(m_userDir, SettingFileName);
    }
    return LangFile::WriteLangValue(file, QStringLiteral("Language"),
                                    QStringLiteral("CurrentLanguage"), name);
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

const LanguageSupport::Cache& LanguageSupport::cached() const
{
    const QString file = currentLangFile();
    // One stat a lookup: QFileInfo's times go through the local time zone, which costs more
    // than the lookup itself when a window asks for its captions.
    Stamp stamp;
    struct stat status = {};
    if (::stat(QFile::encodeName(file).constData(), &status) == 0) {
        stamp = {static_cast<qint64>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
                 static_cast<qint64>(status.st_size), static_cast<quint64>(status.st_ino)};
    }
    if (file != m_cache.file || stamp != m_cache.stamp)
        m_cache = Cache{file, stamp, LangFile::readFile(file), {}};
    return m_cache;
}

Result<QString> LanguageSupport::text(const QString& section, const QString& key) const
{
    const Cache& cache = cached();
    if (!cache.bytes)
        return Failure{cache.bytes.error()};
    // A file too large for the INI rules is read line by line, one key at a time.
    if (cache.bytes->size() > LangFile::IniSizeLimit)
        return LangFile::readLangValueFromBytes(*cache.bytes, section, key);
    const QString name = LangFile::foldedName(section);
    auto found = m_cache.sections.constFind(name);
    if (found == m_cache.sections.cend())
        found = m_cache.sections.insert(name, LangFile::readSection(*cache.bytes, section));
    return found->value(LangFile::foldedName(key));
}

QString LanguageSupport::GetLangString(const QString& id)
{
    if (m_currentLang.isEmpty())
        m_currentLang = storedLanguage();
    return text(QStringLiteral("Strings"), id).valueOr(QString());
}
