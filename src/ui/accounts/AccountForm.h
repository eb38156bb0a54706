#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class XmppAccounts;

// The small form that adds an account: its address, password and, for a server other than
// the domain's own, the server. It stays open, saying what is wrong, until the account is added.
class AccountForm : public QDialog
{
    Q_OBJECT
public:
    explicit AccountForm(XmppAccounts& accounts, QWidget* parent = nullptr);

private:
    void ok();

    XmppAccounts& m_accounts;
    QLineEdit* m_address;
    QLineEdit* m_password;
    QLineEdit* m_server;
    QLabel* m_error;
};
