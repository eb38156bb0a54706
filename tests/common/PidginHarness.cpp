#include "PidginHarness.h"

#include "main/PidginMessengerClient.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

const QString PidginHarness::EnabledJabber = QStringLiteral("alice@xmpp.invalid/Dorvane");
const QString PidginHarness::DisabledJabber = QStringLiteral("carol@xmpp.invalid/Dorvane");
const QString PidginHarness::Irc = QStringLiteral("dorvane@irc.invalid");

namespace {

constexpr int StartTimeoutMs = 20000;
constexpr int QuitTimeoutMs = 10000;

bool copyTree(const QString& from, const QString& to)
{
    QDir source(from);
    if (!source.exists() || !QDir().mkpath(to))
        return false;
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(path);
        const bool ok = it.fileInfo().isDir() ? QDir().mkpath(target) : QFile::copy(path, target);
        if (!ok)
            return false;
        if (!it.fileInfo().isDir())
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    }
    return true;
}

} // namespace

PidginHarness::PidginHarness() : m_bus(QDBusConnection::sessionBus()) {}

PidginHarness::~PidginHarness()
{
    stopPidgin();
    stopDisplay();
}

QString PidginHarness::unavailableReason()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pidgin")).isEmpty())
        return QStringLiteral("pidgin is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        return QStringLiteral("Xvfb is not installed");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return QStringLiteral("no session bus (run the tests under dbus-run-session)");
    if (bus.interface()->isServiceRegistered(PidginMessengerClient::ServiceName).value())
        return QStringLiteral("another Pidgin already runs on this session bus");
    return QString();
}

bool PidginHarness::startDisplay(QString* error)
{
    if (!m_root.isValid()) {
        *error = QStringLiteral("no temporary folder: %1").arg(m_root.errorString());
        return false;
    }
    // -displayfd lets Xvfb pick a free display itself and tell us its number once it is ready.
    m_display = std::make_unique<QProcess>();
    m_display->setProgram(QStringLiteral("Xvfb"));
    m_display->setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"),
                             QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                             QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("1024x768x24")});
    m_display->setStandardErrorFile(m_root.path() + QStringLiteral("/xvfb.log"));
    m_display->start();
    if (!m_display->waitForStarted(StartTimeoutMs)) {
        *error = QStringLiteral("Xvfb did not start: %1").arg(m_display->errorString());
        return false;
    }
    QByteArray number;
    while (!number.endsWith('\n') && m_display->waitForReadyRead(StartTimeoutMs))
        number += m_display->readAllStandardOutput();
    number = number.trimmed();
    if (number.isEmpty()) {
        *error = QStringLiteral("Xvfb gave no display number");
        stopDisplay();
        return false;
    }
    m_displayName = QLatin1Char(':') + QString::fromLatin1(number);
    return true;
}

void PidginHarness::stopDisplay()
{
    if (!m_display)
        return;
    if (m_display->state() != QProcess::NotRunning) {
        m_display->terminate();
        if (!m_display->waitForFinished(QuitTimeoutMs)) {
            m_display->kill();
            m_display->waitForFinished(QuitTimeoutMs);
        }
    }
    m_display.reset();
}

bool PidginHarness::startPidgin(QString* error)
{
    stopPidgin();
    QDir(profileDir()).removeRecursively();
    if (!copyTree(QStringLiteral(DORVANE_TEST_DATA "/pidgin"), profileDir())) {
        *error = QStringLiteral("the fixture profile could not be copied");
        return false;
    }
    const QString home = m_root.path() + QStringLiteral("/home");
    const QString runtime = m_root.path() + QStringLiteral("/runtime");
    const QString temp = m_root.path() + QStringLiteral("/tmp");
    for (const QString& dir : {home, runtime, temp})
        QDir().mkpath(dir);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    env.insert(QStringLiteral("TMPDIR"), temp);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("DISPLAY"), m_displayName);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    // No accessibility bus and no desktop settings daemon to wait for.
    env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("1"));
    env.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));

    m_pidgin = std::make_unique<QProcess>();
    m_pidgin->setProcessEnvironment(env);
    m_pidgin->setWorkingDirectory(home);
    m_pidgin->setProgram(QStringLiteral("pidgin"));
    m_pidgin->setArguments(
        {QStringLiteral("--config=") + profileDir(), QStringLiteral("--nologin")});
    m_pidgin->setProcessChannelMode(QProcess::MergedChannels);
    m_pidgin->setStandardOutputFile(m_root.path() + QStringLiteral("/pidgin.log"));
    m_pidgin->start();
    if (!m_pidgin->waitForStarted(StartTimeoutMs)) {
        *error = QStringLiteral("pidgin did not start: %1").arg(m_pidgin->errorString());
        m_pidgin.reset();
        return false;
    }
    return true;
}

void PidginHarness::stopPidgin()
{
    if (!m_pidgin)
        return;
    if (m_pidgin->state() != QProcess::NotRunning) {
        // Pidgin may be gone before it answers: no reply is awaited.
        QDBusMessage quit = QDBusMessage::createMethodCall(
            PidginMessengerClient::ServiceName, PidginMessengerClient::ObjectPath,
            PidginMessengerClient::InterfaceName, QStringLiteral("PurpleCoreQuit"));
        if (answers())
            m_bus.send(quit);
        else
            m_pidgin->terminate();
        if (!m_pidgin->waitForFinished(QuitTimeoutMs)) {
            m_pidgin->kill();
            m_pidgin->waitForFinished(QuitTimeoutMs);
        }
    }
    m_pidgin.reset();
}

bool PidginHarness::isPidginRunning() const
{
    return m_pidgin && m_pidgin->state() == QProcess::Running;
}

bool PidginHarness::answers() const
{
    if (!isPidginRunning())
        return false;
    // Only the Pidgin started here: never one that some other process runs on this bus.
    const auto owner = m_bus.interface()->servicePid(PidginMessengerClient::ServiceName);
    if (!owner.isValid() || static_cast<qint64>(owner.value()) != m_pidgin->processId())
        return false;
    return call(QStringLiteral("PurpleAccountsGetAll")).type() == QDBusMessage::ReplyMessage;
}

QString PidginHarness::log() const
{
    QFile file(m_root.path() + QStringLiteral("/pidgin.log"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QDBusMessage PidginHarness::call(const QString& method, const QList<QVariant>& args) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        PidginMessengerClient::ServiceName, PidginMessengerClient::ObjectPath,
        PidginMessengerClient::InterfaceName, method);
    message.setArguments(args);
    return m_bus.call(message, QDBus::Block, 5000);
}

int PidginHarness::account(const QString& name, const QString& protocol) const
{
    const QDBusMessage reply = call(QStringLiteral("PurpleAccountsFind"), {name, protocol});
    return reply.arguments().isEmpty() ? 0 : reply.arguments().first().toInt();
}

QString PidginHarness::accountIcon(int account) const
{
    const QDBusMessage reply = call(QStringLiteral("PurpleAccountGetString"),
                                    {account, QStringLiteral("buddy_icon"), QString()});
    return reply.arguments().isEmpty() ? QString() : reply.arguments().first().toString();
}

int PidginHarness::accountIconTimestamp(int account) const
{
    const QDBusMessage reply =
        call(QStringLiteral("PurpleBuddyIconsGetAccountIconTimestamp"), {account});
    return reply.arguments().isEmpty() ? 0 : reply.arguments().first().toInt();
}

QString PidginHarness::savedAccountSetting(const QString& name, const QString& setting) const
{
    QFile file(profileDir() + QStringLiteral("/accounts.xml"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // <account><name>NAME</name>...<settings><setting name='SETTING'>VALUE</setting>
    // (per-interface settings carry a ui attribute and are not looked at).
    QXmlStreamReader xml(&file);
    QString accountName;
    bool inCoreSettings = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("name") && !inCoreSettings)
                accountName = xml.readElementText();
            else if (xml.name() == QLatin1String("settings"))
                inCoreSettings = !xml.attributes().hasAttribute(QStringLiteral("ui"));
            else if (xml.name() == QLatin1String("setting") && inCoreSettings &&
                     accountName == name &&
                     xml.attributes().value(QStringLiteral("name")) == setting)
                return xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("settings"))
                inCoreSettings = false;
            else if (xml.name() == QLatin1String("account"))
                accountName.clear();
        }
    }
    return QString();
}
