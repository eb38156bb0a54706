#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// Runs the real Pidgin for a test: a copy of the fixture profile (tests/data/pidgin) in a
// temporary folder, a virtual X display of its own, HOME, XDG_RUNTIME_DIR and TMPDIR in that
// folder, and the test's own session bus. Pidgin starts with --nologin and only knows accounts
// at unreachable addresses, so it never goes online.
class PidginHarness
{
public:
    static const QString EnabledJabber;  // "alice@xmpp.invalid/Dorvane"
    static const QString DisabledJabber; // "carol@xmpp.invalid/Dorvane"
    static const QString Irc;            // "dorvane@irc.invalid"

    PidginHarness();
    ~PidginHarness();
    PidginHarness(const PidginHarness&) = delete;
    PidginHarness& operator=(const PidginHarness&) = delete;

    // Why Pidgin cannot be run here (not installed, no session bus, or another Pidgin already
    // on this bus, which the tests must never drive); empty when it can.
    static QString unavailableReason();

    bool startDisplay(QString* error);
    void stopDisplay();
    // Copies a fresh profile and starts Pidgin; it answers calls a moment later (answers()).
    bool startPidgin(QString* error);
    // Asks Pidgin to quit, then ends the process if it does not.
    void stopPidgin();
    // True once the Pidgin started here owns its bus name and answers a call.
    bool answers() const;
    bool isPidginRunning() const;

    QString profileDir() const { return m_root.path() + QStringLiteral("/profile"); }
    QString log() const;

    // A call on Pidgin's interface.
    QDBusMessage call(const QString& method, const QList<QVariant>& args = {}) const;
    // The account's handle, 0 when Pidgin does not know it.
    int account(const QString& name, const QString& protocol = QStringLiteral("prpl-jabber")) const;
    // The account's "buddy_icon" setting (the stored picture's file name) as Pidgin has it now.
    QString accountIcon(int account) const;
    int accountIconTimestamp(int account) const;
    // A setting of an account as Pidgin last saved it in accounts.xml; empty when absent.
    QString savedAccountSetting(const QString& name, const QString& setting) const;

private:
    QDBusConnection m_bus;
    QTemporaryDir m_root;
    std::unique_ptr<QProcess> m_display;
    std::unique_ptr<QProcess> m_pidgin;
    QString m_displayName;
};
