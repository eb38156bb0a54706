#pragma once

#include <QDialog>

class Dialogs;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class XmppAccounts;

// The window of the user's XMPP accounts: each with its enabled flag and state, added through a
// small form, removed once the user confirms. It asks for the password an account needs (once
// per run) and says when passwords are kept for this run only. One instance, opened and closed
// as often as the user likes; it never keeps the main window from taking input.
class FrmAccounts : public QDialog
{
    Q_OBJECT
public:
    FrmAccounts(XmppAccounts& accounts, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the window in front.
    void showWindow();
    // The current language's texts, read in this direction.
    void applyLanguage(Qt::LayoutDirection direction);

private:
    void refresh();
    void addAccount();
    void removeAccount();
    void enabledChanged(QTreeWidgetItem* item);
    void askPassword(const QString& address);
    void report(const QString& text);

    XmppAccounts& m_accounts;
    Dialogs& m_dialogs;
    QLabel* m_keyringLine;
    QTreeWidget* m_list;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_close;
    // The list being filled: its check boxes change without the user.
    bool m_filling = false;
};
