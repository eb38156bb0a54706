#include "FrmAccounts.h"

#include "core/language/Texts.h"
#include "platform/Dialogs.h"
#include "ui/accounts/AccountForm.h"
#include "ui/forms/ErrorReporter.h"
#include "xmpp/XmppAccounts.h"
#include "xmpp/XmppClient.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

FrmAccounts::FrmAccounts(XmppAccounts& accounts, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_accounts(accounts), m_dialogs(dialogs), m_keyringLine(new QLabel(this)),
      m_list(new QTreeWidget(this)), m_add(new QPushButton(this)), m_remove(new QPushButton(this)),
      m_close(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmAccounts"));
    const std::pair<QWidget*, const char*> names[] = {{m_keyringLine, "lblkeyring"},
                                                      {m_list, "lstaccounts"},
                                                      {m_add, "cmdadd"},
                                                      {m_remove, "cmdremove"},
                                                      {m_close, "cmdclose"}};
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));
    m_keyringLine->setWordWrap(true);
    m_list->setColumnCount(2);
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_keyringLine);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    resize(480, 280);

    connect(m_add, &QPushButton::clicked, this, &FrmAccounts::addAccount);
    connect(m_remove, &QPushButton::clicked, this, &FrmAccounts::removeAccount);
    connect(m_close, &QPushButton::clicked, this, &QDialog::close);
    connect(m_list, &QTreeWidget::itemChanged, this, &FrmAccounts::enabledChanged);
    connect(m_list, &QTreeWidget::currentItemChanged, this,
            [this] { m_remove->setEnabled(m_list->currentItem() != nullptr); });
    connect(&m_accounts, &XmppAccounts::changed, this, &FrmAccounts::refresh);
    connect(&m_accounts, &XmppAccounts::passwordNeeded, this, &FrmAccounts::askPassword);
    applyLanguage(layoutDirection());
}

void FrmAccounts::showWindow()
{
    show();
    raise();
    activateWindow();
}

void FrmAccounts::applyLanguage(Qt::LayoutDirection direction)
{
    setLayoutDirection(direction);
    setWindowTitle(Texts::text(Text::AccountsTitle));
    m_keyringLine->setText(Texts::text(Text::AccountsNoKeyring));
    m_list->setHeaderLabels({Texts::text(Text::AccountsAddress), Texts::text(Text::AccountsState)});
    m_list->setAccessibleName(Texts::text(Text::AccountsList));
    m_add->setText(Texts::text(Text::AccountsAdd));
    m_remove->setText(Texts::text(Text::AccountsRemove));
    m_close->setText(Texts::text(Text::AccountsClose));
    refresh();
}

void FrmAccounts::refresh()
{
    m_keyringLine->setVisible(!m_accounts.keyringAvailable());
    const QString current = m_list->currentItem() ? m_list->currentItem()->text(0) : QString();
    m_filling = true;
    m_list->clear();
    for (const XmppAccounts::Account& account : m_accounts.accounts()) {
        const XmppClient* client = m_accounts.client(account.address);
        const QString state = client            ? client->stateText()
                              : account.enabled ? Texts::text(Text::AccountsNoPassword)
                                                : Texts::text(Text::AccountsDisabled);
        auto* item = new QTreeWidgetItem(m_list, {account.address, state});
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(0, account.enabled ? Qt::Checked : Qt::Unchecked);
        if (account.address == current)
            m_list->setCurrentItem(item);
    }
    m_filling = false;
    m_remove->setEnabled(m_list->currentItem() != nullptr);
}

void FrmAccounts::addAccount()
{
    auto* form = new AccountForm(m_accounts, this);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setLayoutDirection(layoutDirection());
    form->open();
}

void FrmAccounts::removeAccount()
{
    const QTreeWidgetItem* item = m_list->currentItem();
    if (!item)
        return;
    const QString address = item->text(0);
    if (!m_dialogs.confirm(this, windowTitle(), Texts::text(Text::AccountsRemoveAsk).arg(address)))
        return;
    m_accounts.remove(address, [self = QPointer(this)](const Result<void>& removed) {
        if (self && !removed)
            self->report(removed.error());
    });
}

void FrmAccounts::enabledChanged(QTreeWidgetItem* item)
{
    if (m_filling)
        return;
    const Result<void> stored =
        m_accounts.setEnabled(item->text(0), item->checkState(0) == Qt::Checked);
    if (!stored) {
        report(stored.error());
        refresh();
    }
}

void FrmAccounts::askPassword(const QString& address)
{
    showWindow();
    auto* prompt = new QInputDialog(this);
    prompt->setObjectName(QStringLiteral("passwordPrompt"));
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    prompt->setWindowTitle(windowTitle());
    prompt->setLabelText(Texts::text(Text::AccountsPasswordFor).arg(address));
    prompt->setTextEchoMode(QLineEdit::Password);
    prompt->setOkButtonText(Texts::text(Text::AccountsOk));
    prompt->setCancelButtonText(Texts::text(Text::AccountsCancel));
    connect(prompt, &QInputDialog::textValueSelected, this,
            [this, address](const QString& password) {
                m_accounts.providePassword(address, password);
            });
    prompt->open();
}

void FrmAccounts::report(const QString& text)
{
    ErrorReporter(m_dialogs, this, windowTitle())(text);
}
