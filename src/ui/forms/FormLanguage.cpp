#include "FormLanguage.h"

#include "core/language/LanguageSupport.h"
#include "ui/forms/Form.h"

#include <QCoreApplication>
#include <QPointer>

namespace FormLanguage {

void ApplyLanguage(const LanguageSupport& language, Form* form)
{
    if (!form)
        return;
    // The events run between controls may close and delete the window; then there is no more
    // to do.
    const QPointer<Form> alive(form);
    const QString section = form->formName();

    if (!form->windowTitle().isEmpty()) {
        // An absent key blanks the title; a missing file leaves it.
        if (const Result<QString> title =
                language.text(section, section + QStringLiteral(".Caption")))
            form->setWindowTitle(*title);
    }

    // Controls created while events run (a language item) are seen at the next application.
    for (NamedControl* control : form->controls()) {
        const QString base = control->keyBase();
        auto text = [&](const char* property) {
            return language.text(section, base + QLatin1String(property)).valueOr(QString());
        };
        if (const QString caption = text(".Caption"); !caption.isEmpty())
            control->setCaption(caption);
        if (const QString toolTip = text(".ToolTipText"); !toolTip.isEmpty())
            control->setToolTip(toolTip);
        if (const QString tag = text(".Tag"); !tag.isEmpty())
            control->setTag(tag);
        // A window not shown yet (the start) has nothing to paint, and no rotation runs yet.
        if (!form->isVisible())
            continue;
        QCoreApplication::processEvents();
        if (!alive)
            return;
    }
}

} // namespace FormLanguage
