#include "LanguageMenu.h"

#include "core/fs/FileList.h"
#include "core/fs/RegularFile.h"
#include "core/language/LanguageSupport.h"
#include "platform/Dialogs.h"
#include "ui/forms/ErrorReporter.h"
#include "ui/forms/Form.h"
#include "ui/forms/FormLanguage.h"
#include "ui/forms/Mirroring.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
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
    m_list->setCurrentIndex(
        m_list->findText(current, Qt::MatchFixedString | Qt::MatchCaseSensitive));
    m_list->setEditText(current);
    directionStep();
    emit applied();
}

void LanguageMenu::MLSFillMenuLanguages()
{
    const QStringList files = FileList::list(m_language.langDir(), QStringLiteral("*.lng"));
    if (files.isEmpty()) {
        m_dialogs.message(m_window, Dialogs::Icon::None, QStringLiteral("Dorvane"),
                          QStringLiteral("there are no languages files !"));
        return;
    }
    for (int position = 0; position < files.size(); ++position) {
        const QString caption = files.at(position).chopped(4);
        NamedControl* item = m_window->control(ItemName, position);
        if (!item) {
            m_window->addMenuItem(QStringLiteral("mnuLanguages"), ItemName, caption, position);
            item = m_window->control(ItemName, position);
        }
        item->action()->setCheckable(true);
        item->action()->setVisible(true);
        item->setCaption(caption);
        m_list->addItem(caption);
    }
    // Before the user's first choice, the session's language (or English); without its file
    // the designed texts stay and nothing is checked.
    m_language.setCurrentLang(m_language.startLanguage());
    for (int position = 0; position < files.size(); ++position) {
        NamedControl* item = m_window->control(ItemName, position);
        if (item->caption() == m_language.CurrentLang()) {
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
        const QString name = item->caption();
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
    QFile file(m_language.langFilePath(m_list->currentText()));
    // A missing or empty file, or one that does not end in a digit, keeps the layout as it is;
    // so does anything but an ordinary file (a FIFO would hold the window for ever).
    if (!RegularFile::open(file) || file.size() <= 0 || !file.seek(file.size() - 1))
        return;
    const QByteArray last = file.read(1);
    const char flag = last.isEmpty() ? ' ' : last.at(0);
    if (flag < '0' || flag > '9')
        return;
    m_flag->setText(QString(QLatin1Char(flag)));
    // Mirroring is the one thing that turns the layout, and it keeps the form's flag with it.
    const bool designLayout = !m_window->formRightToLeft();
    if (flag == '0' && designLayout)
        AlignToRight();
    else if (flag == '1' && !designLayout)
        AlignToLeft();
}

void LanguageMenu::AlignToRight()
{
    Mirroring::AlignToRight(m_window);
}

void LanguageMenu::AlignToLeft()
{
    Mirroring::AlignToLeft(m_window);
}
