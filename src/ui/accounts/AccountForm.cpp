#include "AccountForm.h"

#include "core/language/Texts.h"
#include "xmpp/XmppAccounts.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

AccountForm::AccountForm(XmppAccounts& accounts, QWidget* parent)
    : QDialog(parent), m_accounts(accounts), m_address(new QLineEdit(this)),
      m_password(new QLineEdit(this)), m_server(new QLineEdit(this)), m_error(new QLabel(this))
{
    setObjectName(QStringLiteral("accountForm"));
    setWindowTitle(Texts::text(Text::AccountsNewTitle));
    m_password->setEchoMode(QLineEdit::Password);
    m_address->setPlaceholderText(QStringLiteral("name@example.org"));
    m_error->setObjectName(QStringLiteral("lblerror"));
    m_error->setWordWrap(true);
    m_error->hide();

    auto* fields = new QFormLayout;
    const std::pair<QLineEdit*, Text> rows[] = {{m_address, Text::AccountsAddressField},
                                                {m_password, Text::AccountsPasswordField},
                                                {m_server, Text::AccountsServerField}};
    for (const auto& [field, text] : rows) {
        fields->addRow(Texts::text(text), field);
        field->setAccessibleName(Texts::text(text).remove(u':').trimmed());
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(Texts::text(Text::AccountsOk));
    buttons->button(QDialogButtonBox::Cancel)->setText(Texts::text(Text::AccountsCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &AccountForm::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_error);
    layout->addWidget(buttons);
}

void AccountForm::ok()
{
    m_error->hide();
    m_accounts.add({m_address->text(), m_server->text(), true}, m_password->text(),
                   [self = QPointer(this)](const Result<void>& added) {
                       if (!self)
                           return;
                       if (added)
                           return self->accept();
                       self->m_error->setText(added.error());
                       self->m_error->show();
                   });
}
