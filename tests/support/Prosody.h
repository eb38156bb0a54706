#pragma once

#include "TestEnvironment.h"
#include <QProcess>

// Debian's Prosody as a child process on a free local port, its configuration, certificates,
// accounts and log in the folder "prosody" of the test environment. Its hosts: localhost (User
// Avatar on PEP), nopep.localhost (vCard only) and untrusted.localhost (its certificate signed by
// a CA the test does not trust: the environment's SSL_CERT_FILE names the trusted one). Accounts
// added before start() are all each other's contacts.
class Prosody
{
public:
    explicit Prosody(TestEnvironment& environment);
    ~Prosody();
    static bool installed();

    bool addUser(const QString& address, const QString& password);
    // Starts it (again, on the same port and data); false when it did not come up.
    bool start();
    void stop();

    // What a client connects to: "127.0.0.1:port".
    QString server() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString folder() const { return m_env.path("prosody"); }
    // How many connections clients have opened so far.
    int connections() const { return logged("Client connected"); }

private:
    int logged(const QByteArray& text) const;

    TestEnvironment& m_env;
    quint16 m_port;
    bool m_ready = false;
    QStringList m_contacts;
    QProcess m_process;
};
