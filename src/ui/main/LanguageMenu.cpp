#include "LanguageMenu.h"

#include "core/fs/FileList.h"
#include "core/language/LanguageSupport.h"
#include "core/language/Texts.h"
#include "platform/Dialogs.h"
#include "ui/forms/ErrorReporter.h"
#include "ui/forms/Form.h"
#include "ui/forms/FormLanguage.h"
#include "ui/forms/Mirroring.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QPointer>

#include <utility>

namespace {

const QString ItemName = QStringLiteral("mnuLanguage");

} // namespace

LanguageMenu::LanguageMenu(Form* window, QComboBox* list, QLineEdit* directionFlag,
                           LanguageSupport& language, Dialogs& dialogs, QObject* parent)
    : QObject(parent), m_window(window), m_list(list), m_flag(directionFlag), m_language(language),
      m_dialogs(dialogs)
{
    connect(m_list, QOverload<int>::of(&QComboBox::activated), this, [this] { comblang_Click(); });
}

void LanguageMenu::start()
{
    MLSFillMenuLanguages();
    FormLanguage::ApplyLanguage(m_language, m_window);
    // The current language's entry becomes the current one, so that the list opens and the
    // arrow keys move from there; a name without an entry of its own is shown as it is.
    const QString current = m_language.CurrentLang();
    const int index = m_list->findData(current);
    m_list->setCurrentIndex(index);
    m_list->setEditText(index >= 0 ? m_list->itemText(index) : current);
    directionStep();
    translateQt();
    emit applied();
}

void LanguageMenu::MLSFillMenuLanguages()
{
    const QStringList files = FileList::list(m_language.langDir(), QStringLiteral("*.lng"));
    if (files.isEmpty()) {
        m_dialogs.message(m_window, Dialogs::Icon::None, QStringLiteral("Dorvane"),
                          Texts::text(Text::NoLanguageFiles));
        return;
    }
    for (int position = 0; position < files.size(); ++position) {
        // Each language by its own name; the item keeps the file's name.
        const QString name = files.at(position).chopped(4);
        const QString caption = m_language.displayName(name);
        NamedControl* item = m_window->control(ItemName, position);
        if (!item) {
            m_window->addMenuItem(QStringLiteral("mnuLanguages"), ItemName, caption, position);
            item = m_window->control(ItemName, position);
        }
        item->action()->setCheckable(true);
        item->action()->setVisible(true);
        item->setCaption(caption);
        item->action()->setData(name);
        m_list->addItem(caption, name);
    }
    // Before the user's first choice, the session's language (or English); without its file
    // the designed texts stay and nothing is checked.
    m_language.setCurrentLang(m_language.startLanguage());
    for (int position = 0; position < files.size(); ++position) {
        NamedControl* item = m_window->control(ItemName, position);
        if (item->action()->data().toString() == m_language.CurrentLang()) {
            item->action()->setChecked(true);
            break;
        }
    }
}

QList<QAction*> LanguageMenu::languageItems() const
{
    QList<QAction*> items;
    for (NamedControl* c : m_window->controls()) {
        if (c->name() == ItemName && c->action())
            items.append(c->action());
    }
    return items;
}

void LanguageMenu::mnuLanguage_Click(int index)
{
    if (!m_window->control(ItemName, index))
        return;
    // Applying a language lets events run, so the user may choose again meanwhile. That choice
    // is taken once this one is done: the last choice wins in texts, check mark and file alike.
    if (m_switching) {
        m_pending = index;
        return;
    }
    m_switching = true;
    for (int next = index; next >= 0; next = std::exchange(m_pending, -1)) {
        NamedControl* item = m_window->control(ItemName, next);
        if (!item)
            continue;
        for (QAction* action : languageItems())
            action->setChecked(false);
        item->action()->setChecked(true);
        const QString name = item->action()->data().toString();
        m_language.setCurrentLang(name);
        // Every open window takes the language, this one first; one closed meanwhile is left.
        QList<QPointer<Form>> others;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<Form*>(widget);
            if (form && form != m_window && form->isVisible())
                others.append(form);
        }
        FormLanguage::ApplyLanguage(m_language, m_window);
        for (const QPointer<Form>& form : others) {
            if (form)
                FormLanguage::ApplyLanguage(m_language, form);
        }
        // The language is shown all the same; the user is told that the next start will not
        // remember it.
        if (const Result<void> stored = m_language.storeLanguage(name); !stored)
            ErrorReporter(m_dialogs, m_window, QStringLiteral("Dorvane"))(stored.error());
    }
    m_switching = false;
    translateQt();
    emit applied();
}

void LanguageMenu::comblang_Click()
{
    // A choice made while another is applied is finished, direction included, by that one.
    const bool queued = m_switching;
    mnuLanguage_Click(m_list->currentIndex());
    if (!queued)
        directionStep();
}

void LanguageMenu::directionStep()
{
    // Without a digit at its end the language's file keeps the layout as it is.
    const std::optional<QChar> flag = m_language.directionFlag(m_language.CurrentLang());
    if (!flag)
        return;
    m_flag->setText(QString(*flag));
    // Mirroring is the one thing that turns the layout, and it keeps the form's flag with it.
    const bool designLayout = !m_window->formRightToLeft();
    if (*flag == u'0' && designLayout)
        AlignToRight();
    else if (*flag == u'1' && !designLayout)
        AlignToLeft();
}

void LanguageMenu::translateQt()
{
    QCoreApplication::removeTranslator(&m_qtTexts);
    if (m_qtTexts.load(m_language.locale(m_language.CurrentLang()), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&m_qtTexts);
}

void LanguageMenu::AlignToRight()
{
    Mirroring::AlignToRight(m_window);
}

void LanguageMenu::AlignToLeft()
{
    Mirroring::AlignToLeft(m_window);
}
