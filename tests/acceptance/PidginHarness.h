#pragma once

#include "messenger/PidginCalls.h"
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// The real Pidgin on the test's bus and folders, offline: a copy of tests/data/pidgin (accounts
// at unreachable .invalid addresses) for its profile, on the test's X display.
class PidginHarness
{
public:
    ~PidginHarness()
    {
        m_pidgin.kill();
        m_pidgin.waitForFinished();
    }

    // Why Pidgin cannot be run here; empty when it can.
    static QString unavailableReason()
    {
        if (QStandardPaths::findExecutable("pidgin").isEmpty() || qgetenv("DISPLAY").isEmpty())
            return "pidgin is not installed, or there is no X display (xvfb-run)";
        const QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || bus.interface()->isServiceRegistered(PidginCalls::ServiceName))
            return "no session bus of its own (dbus-run-session), or Pidgin runs on it already";
        return {};
    }

    // Starts Pidgin on the test's display; true once it answers calls.
    bool start()
    {
        const QString data = QStringLiteral(DORVANE_TEST_DATA "/pidgin");
        for (QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString target = profile() + it.next().mid(data.size());
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(it.filePath(), target);
        }
        // No accessibility bus and no settings daemon to wait for.
        m_pidgin.start("env", {"NO_AT_BRIDGE=1", "GSETTINGS_BACKEND=memory", "pidgin",
                               "--config=" + profile(), "--nologin"});
        // Pidgin owns its name a moment before it has read the profile; its first answer counts.
        return QTest::qWaitFor([this] { return call("PurpleAccountsGetAll").isValid(); }, 30000);
    }

    QString profile() const { return m_root.filePath("profile"); }

    // The answer to a call on Pidgin's interface; invalid when there is none.
    QVariant call(const QString& method, const QVariantList& args = {}) const
    {
        QDBusInterface purple(PidginCalls::ServiceName, PidginCalls::ObjectPath,
                              PidginCalls::InterfaceName);
        const QDBusMessage reply = purple.callWithArgumentList(QDBus::Block, method, args);
        return reply.type() == QDBusMessage::ReplyMessage ? reply.arguments().value(0) : QVariant();
    }
    // The account's "buddy_icon" setting: the file name Pidgin stored its picture under.
    QString accountIcon(const QString& account) const
    {
        const QVariant id = call("PurpleAccountsFind", {account, "prpl-jabber"});
        return call("PurpleAccountGetString", {id, "buddy_icon", ""}).toString();
    }

private:
    QTemporaryDir m_root;
    QProcess m_pidgin;
};
