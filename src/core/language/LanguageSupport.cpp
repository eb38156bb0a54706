#include "LanguageSupport.h"

#include "core/fs/AppFolders.h"
#include "core/fs/AppPaths.h"
#include "core/fs/RegularFile.h"
#include "core/language/LangFile.h"
#include "core/language/Texts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <sys/stat.h>

namespace {

const QString SettingFileName = QStringLiteral("LangSetting.ini");

// The language of the session's messages, named as QLocale names languages ("French"), from the
// first of LC_ALL, LC_MESSAGES and LANG that is set, as POSIX orders them; empty for C and POSIX.
QString sessionLanguage()
{
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(variable);
        if (value.isEmpty())
            continue;
        // "fr_FR.UTF-8@euro": the language and territory come before the encoding.
        const QLocale locale(value.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0));
        if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
            return QString();
        return QLocale::languageToString(locale.language());
    }
    return QString();
}

} // namespace

LanguageSupport::LanguageSupport(const QString& langDir, const QString& userDir)
    : m_langDir(langDir), m_userDir(userDir), m_installed(AppFolders::isInstalledLangDir(langDir))
{
}

QString LanguageSupport::ownSettingFile() const
{
    return m_userDir.isEmpty() ? QString() : AppPaths::join(m_userDir, SettingFileName);
}

QString LanguageSupport::settingFile() const
{
    // What lies in an installed copy's folders is the same for every user and is not a choice.
    QString own = ownSettingFile();
    if (m_installed || (!own.isEmpty() && QFileInfo::exists(own)))
        return own;
    return AppPaths::join(m_langDir, SettingFileName);
}

Result<void> LanguageSupport::storeLanguage(const QString& name) const
{
    // Even where an installed copy's folder can be written (root), writing there would change
    // every user's language and the installed package.
    QString file = settingFile();
    if (!m_installed && !QFileInfo(m_langDir).isWritable())
        file = ownSettingFile();
    if (file.isEmpty())
        return Failure{Texts::text(Text::NoLanguageFolder)};
    if (file == ownSettingFile())
        QDir().mkpath(m_userDir);
    return LangFile::WriteLangValue(file, QStringLiteral("Language"),
                                    QStringLiteral("CurrentLanguage"), name);
}

QString LanguageSupport::shippedName(const QString& name) const
{
    const QFileInfo file(langFilePath(name));
    return name.isEmpty() || !file.exists() ? QString() : file.fileName().chopped(4);
}

QString LanguageSupport::startLanguage() const
{
    if (QString chosen = storedLanguage(); !chosen.isEmpty())
        return chosen;
    if (QString session = shippedName(sessionLanguage()); !session.isEmpty())
        return session;
    return shippedName(QStringLiteral("English"));
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

void LanguageSupport::setCurrentLang(const QString& name)
{
    m_currentLang = name;
    QHash<QString, QString> messages;
    for (const Texts::Entry& entry : Texts::all()) {
        const QString id = QLatin1String(entry.id);
        if (QString message = text(QStringLiteral("Strings"), id).valueOr(QString());
            !message.isEmpty())
            messages.insert(id, message);
    }
    Texts::use(messages);
}

QString LanguageSupport::displayName(const QString& name) const
{
    const QString own = LangFile::ReadLangValue(langFilePath(name), QStringLiteral("Language"),
                                                QStringLiteral("Name"))
                            .valueOr(QString());
    return own.isEmpty() ? name : own;
}

QLocale LanguageSupport::locale(const QString& name) const
{
    const QString shipped = shippedName(name);
    for (int language = QLocale::AnyLanguage + 1; language <= QLocale::LastLanguage; ++language) {
        const auto known = static_cast<QLocale::Language>(language);
        if (!shipped.isEmpty() && QLocale::languageToString(known) == shipped)
            return QLocale(known);
    }
    return QLocale::c();
}

std::optional<QChar> LanguageSupport::directionFlag(const QString& name) const
{
    QFile file(langFilePath(name));
    // Anything but an ordinary file has no last character to read (a FIFO would never end).
    if (!RegularFile::open(file) || file.size() <= 0 || !file.seek(file.size() - 1))
        return std::nullopt;
    const QByteArray last = file.read(1);
    if (last.isEmpty() || last.at(0) < '0' || last.at(0) > '9')
        return std::nullopt;
    return QChar::fromLatin1(last.at(0));
}

QString LanguageSupport::GetLangString(const QString& id)
{
    if (m_currentLang.isEmpty())
        setCurrentLang(startLanguage());
    return text(QStringLiteral("Strings"), id).valueOr(QString());
}
