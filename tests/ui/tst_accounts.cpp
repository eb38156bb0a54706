// The XMPP accounts: their list in the settings file, their passwords in the keyring, and the
// window that shows, adds and removes them.
#include "MainWindowFixture.h"
#include "ui/accounts/AccountForm.h"
#include "ui/accounts/FrmAccounts.h"
#include "xmpp/XmppAccounts.h"
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QTreeWidget>

namespace {
const QString Address = "ann@example.org";

// What the settings file holds of the accounts, by its own keys.
QString listed(const MainWindowFixture& f, const QString& key)
{
    return f.settings.GetSetting("Accounts", key, "<absent>");
}

FrmAccounts* accountsWindow(const MainWindowFixture& f)
{
    return f.window->findChild<FrmAccounts*>();
}

template <class T = QPushButton> T* part(const MainWindowFixture& f, const QString& name = {})
{
    return accountsWindow(f)->findChild<T*>(name);
}

// Fills the Add form and presses OK; the error it shows, empty when it closed.
QString addThroughForm(MainWindowFixture& f, const QString& address, const QString& server = "",
                       const QString& password = "secret")
{
    part(f, "cmdadd")->click();
    auto* form = part<AccountForm>(f);
    const QList<QLineEdit*> fields = form->findChildren<QLineEdit*>();
    fields.at(0)->setText(address);
    fields.at(1)->setText(password);
    fields.at(2)->setText(server);
    form->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    QString shown = form->isVisible() ? form->findChild<QLabel*>("lblerror")->text() : "";
    delete form;
    return shown;
}
} // namespace

class TestAccounts : public QObject
{
    Q_OBJECT
private slots:
    // Added, switched off and on, removed: the file never holds a password, the keyring does.
    void throughTheWindow()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        f.widget<QPushButton>("cmdaccounts")->click();
        QVERIFY(accountsWindow(f)->isVisible());
        QCOMPARE(addThroughForm(f, " Ann@Example.org ", "xmpp.example.org:5223"), QString());
        QCOMPARE(listed(f, "count") + listed(f, "address1") + listed(f, "server1"),
                 "1" + Address + "xmpp.example.org:5223");
        QCOMPARE(listed(f, "enabled1"), "1");
        QVERIFY(!TestEnvironment::read(f.env.settingsFile()).contains("secret"));
        QCOMPARE(f.passwords.passwords.value(Address), "secret");
        auto* accounts = f.window->findChild<XmppAccounts*>();
        QVERIFY(accounts->client(Address));
        part<QTreeWidget>(f)->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        QCOMPARE(listed(f, "enabled1"), "0");
        QVERIFY(!accounts->client(Address));
        QCOMPARE(part<QTreeWidget>(f)->topLevelItem(0)->text(1), "Disabled");
        part<QTreeWidget>(f)->setCurrentItem(part<QTreeWidget>(f)->topLevelItem(0));
        part(f, "cmdremove")->click(); // answered No
        QCOMPARE(listed(f, "address1"), Address);
        f.dialogs.confirmations = {true};
        part(f, "cmdremove")->click();
        QCOMPARE(f.dialogs.questions.size(), 2);
        QCOMPARE(listed(f, "count") + listed(f, "address1"), "0<absent>");
        QVERIFY(f.passwords.passwords.isEmpty());
        QCOMPARE(part<QTreeWidget>(f)->topLevelItemCount(), 0);
    }
    void refused_data()
    {
        columns<QString, QString, QString>("address", "server", "password");
        row("no domain", "ann", "", "pw");
        row("two at signs", "ann@b@example.org", "", "pw");
        row("a space", "ann smith@example.org", "", "pw");
        row("nothing before the at sign", "@example.org", "", "pw");
        row("port 0", Address, "host:0", "pw");
        row("port 65536", Address, "host:65536", "pw");
        row("a port without host", Address, ":5222", "pw");
        row("a space in the server", Address, "my host", "pw");
        row("no password", Address, "", "");
    }
    // The form says why and stays open; nothing is kept.
    void refused()
    {
        const auto [address, server, password] =
            fetch<QString, QString, QString>("address", "server", "password");
        MainWindowFixture f;
        QVERIFY(f.start());
        QVERIFY(!addThroughForm(f, address, server, password).isEmpty());
        QCOMPARE(listed(f, "count"), "<absent>");
        QVERIFY(f.passwords.passwords.isEmpty());
    }
    // Without a keyring the window says so, and asks for the password once this run.
    void noKeyring()
    {
        MainWindowFixture f;
        f.passwords.keyring = false;
        QVERIFY(f.settings.replaceSection("accounts", {{"count", "1"}, {"address1", Address}}));
        QVERIFY(f.start());
        auto* prompt = part<QInputDialog>(f, "passwordPrompt");
        QVERIFY(prompt && prompt->isVisible() && part<QLabel>(f, "lblkeyring")->isVisible());
        QCOMPARE(part<QTreeWidget>(f)->topLevelItem(0)->text(1), "No password");
        prompt->setTextValue("secret");
        prompt->accept();
        auto* accounts = f.window->findChild<XmppAccounts*>();
        QVERIFY(accounts->client(Address));
        QVERIFY(accounts->setEnabled(Address, false) && accounts->setEnabled(Address, true));
        QVERIFY(accounts->client(Address)); // from memory, not asked again
        QTRY_COMPARE(accountsWindow(f)->findChildren<QInputDialog*>().size(), 0);
        QVERIFY(!TestEnvironment::read(f.env.settingsFile()).contains("secret"));
    }
    // The tray's item opens it too, in the language and direction of the main window.
    void inArabic()
    {
        MainWindowFixture f;
        QVERIFY(f.start());
        f.chooseLanguage("Arabic");
        f.action("mnuaccounts")->trigger();
        QVERIFY(accountsWindow(f)->isVisible());
        QCOMPARE(accountsWindow(f)->layoutDirection(), Qt::RightToLeft);
        QCOMPARE(accountsWindow(f)->windowTitle(), f.language.GetLangString("0170"));
        QCOMPARE(f.action("mnuaccounts")->text(), f.language.GetLangString("0171"));
        f.chooseLanguage("English");
        QCOMPARE(accountsWindow(f)->layoutDirection(), Qt::LeftToRight);
    }
};

QTEST_MAIN(TestAccounts)
#include "tst_accounts.moc"
