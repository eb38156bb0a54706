#include "Prosody.h"

#include <QStandardPaths>
#include <QTest>
#include <arpa/inet.h>
#include <unistd.h>

namespace {

// A port nobody listens on now: the one the system gives to a socket bound to port 0.
quint16 freePort()
{
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    const bool bound = ::bind(socket, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                       ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) == 0;
    ::close(socket);
    return bound ? ntohs(address.sin_port) : 0;
}

bool run(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A key and a certificate `name`.pem for these DNS names, signed by `issuer` (by itself when
// there is none, as a CA).
bool makeCertificate(const QString& folder, const QString& name, const QString& issuer = {},
                     const QStringList& dnsNames = {})
{
    QString arguments = "req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2";
    arguments += QString(" -subj /CN=%1 -keyout %1.key -out %1.pem").arg(name);
    if (!issuer.isEmpty())
        arguments += QString(" -CA %1.pem -CAkey %1.key -addext basicConstraints=critical,CA:FALSE"
                             " -addext subjectAltName=DNS:%2")
                         .arg(issuer, dnsNames.join(",DNS:"));
    return run("openssl", arguments.split(' '), folder);
}

const char* const Config = R"(run_as_root = true
pidfile = "%1/prosody.pid"
data_path = "%1"
certificates = "%1"
log = { { levels = { min = "info" }, to = "file", filename = "%1/prosody.log" } }
c2s_ports = { %2 }
c2s_interfaces = { "127.0.0.1" }
s2s_ports = {}
c2s_require_encryption = true
authentication = "internal_hashed"
modules_enabled = { "roster", "saslauth", "tls", "disco", "pep", "vcard_legacy", "groups" }
groups_file = "%1/groups.txt"
ssl = { certificate = "%1/server.pem", key = "%1/server.key" }
VirtualHost "localhost"
VirtualHost "nopep.localhost"
  modules_disabled = { "pep", "vcard_legacy" }
  modules_enabled = { "vcard" }
VirtualHost "untrusted.localhost"
  ssl = { certificate = "%1/untrusted.pem", key = "%1/untrusted.key" }
)";

} // namespace

Prosody::Prosody(TestEnvironment& environment) : m_env(environment), m_port(freePort())
{
    const QString folder = m_env.makeDir("prosody");
    m_env.setVar("SSL_CERT_FILE", (folder + "/ca.pem").toLocal8Bit());
    m_env.writeFile("prosody/prosody.cfg.lua",
                    QString(Config).arg(folder, QString::number(m_port)).toUtf8());
    m_ready = m_port && makeCertificate(folder, "ca") && makeCertificate(folder, "other-ca") &&
              makeCertificate(folder, "server", "ca", {"localhost", "nopep.localhost"}) &&
              makeCertificate(folder, "untrusted", "other-ca", {"untrusted.localhost"});
}

Prosody::~Prosody()
{
    m_process.kill();
    m_process.waitForFinished(10000);
}

bool Prosody::installed()
{
    return QFile::exists("/usr/bin/prosody") &&
           !QStandardPaths::findExecutable("openssl").isEmpty();
}

bool Prosody::addUser(const QString& address, const QString& password)
{
    m_contacts << address;
    return run("/usr/bin/prosodyctl",
               {"--config", folder() + "/prosody.cfg.lua", "register", address.section('@', 0, 0),
                address.section('@', 1), password},
               folder());
}

bool Prosody::start()
{
    if (!m_ready || m_process.state() != QProcess::NotRunning)
        return false;
    m_env.writeFile("prosody/groups.txt", "[Everybody]\n" + m_contacts.join('\n').toUtf8());
    // Its log says when it listens; connecting to find out would count as a client.
    const QByteArray listening = "Activated service 'c2s' on [";
    const int before = logged(listening);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());
    m_process.start("/usr/bin/prosody", {"--config", folder() + "/prosody.cfg.lua", "-F"});
    const auto ended = [this] { return m_process.state() == QProcess::NotRunning; };
    (void)QTest::qWaitFor([&] { return logged(listening) > before || ended(); }, 20000);
    return !ended() && logged(listening) > before;
}

void Prosody::stop()
{
    m_process.terminate();
    if (!m_process.waitForFinished(10000))
        m_process.kill();
    m_process.waitForFinished(10000);
}

int Prosody::logged(const QByteArray& text) const
{
    return int(TestEnvironment::read(folder() + "/prosody.log").count(text));
}
