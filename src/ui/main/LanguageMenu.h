#pragma once

#include <QObject>
#include <QString>
#include <QTranslator>

class Dialogs;
class Form;
class LanguageSupport;
class QAction;
class QComboBox;
class QLineEdit;

// The language list and menu of a window: the languages found in the language folder, the
// current one checked, a choice applied to every open window and remembered, and the window's
// layout turned over for a right-to-left language (the last character of its file).
class LanguageMenu : public QObject
{
    Q_OBJECT
public:
    // `window` is the form whose menu "mnuLanguages" holds the items "mnuLanguage(i)".
    LanguageMenu(Form* window, QComboBox* list, QLineEdit* directionFlag, LanguageSupport& language,
                 Dialogs& dialogs, QObject* parent = nullptr);

    // Start-up: the list built, the stored language applied, the layout turned as it says.
    void start();

    void MLSFillMenuLanguages();
    void mnuLanguage_Click(int index);
    void comblang_Click();
    void directionStep();
    void AlignToRight();
    void AlignToLeft();

signals:
    // A language was put on the windows.
    void applied();

private:
    QList<QAction*> languageItems() const;

    Form* m_window;
    QComboBox* m_list;
    QLineEdit* m_flag;
    // Puts Qt's own texts (its folder and colour dialogs) into the current language.
    void translateQt();

    LanguageSupport& m_language;
    QTranslator m_qtTexts;
    Dialogs& m_dialogs;
    // A language switch under way, and a language chosen meanwhile (-1: none).
    bool m_switching = false;
    int m_pending = -1;
};
