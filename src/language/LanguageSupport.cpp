#include "LanguageSupport.h"

#include "common/AppPaths.h"
#include "common/Form.h"
#include "language/LangFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

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
        .value_or(QString());
}

void LanguageSupport::ApplyLanguage(Form* form)
{
    if (!form)
        return;
    // The events run between controls may close and delete the window; then there is no more
    // to do.
    const QPointer<Form> alive(form);
    const QString file = currentLangFile();
    const QString section = form->formName();

    if (!form->windowTitle().isEmpty()) {
        // An absent key blanks the title; a missing file leaves it.
        if (auto title =
                LangFile::ReadLangValue(file, section, section + QStringLiteral(".Caption")))
            form->setWindowTitle(*title);
    }

    // Controls created while events run (a language item) are seen at the next application.
    for (NamedControl* control : form->controls()) {
        const QString base = control->keyBase();
        const QString caption =
            LangFile::ReadLangValue(file, section, base + QStringLiteral(".Caption"))
                .value_or(QString());
        if (!caption.isEmpty())
            control->setCaption(caption);
        const QString toolTip =
            LangFile::ReadLangValue(file, section, base + QStringLiteral(".ToolTipText"))
                .value_or(QString());
        if (!toolTip.isEmpty())
            control->setToolTip(toolTip);
        const QString tag = LangFile::ReadLangValue(file, section, base + QStringLiteral(".Tag"))
                                .value_or(QString());
        if (!tag.isEmpty())
            control->setTag(tag);
        // Keep the windows painting and the rotation ticking while a language is applied.
        QCoreApplication::processEvents();
        if (!alive)
            return;
    }
}

QString LanguageSupport::GetLangString(const QString& id)
{
    if (m_currentLang.isEmpty())
        m_currentLang = storedLanguage();
    return LangFile::ReadLangValue(currentLangFile(), QStringLiteral("Strings"), id)
        .value_or(QString());
}
