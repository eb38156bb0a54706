#include "XmppSession.h"

#include "core/language/Texts.h"
#include "xmpp/XmppPublish.h"
#include "xmpp/XmppRetry.h"

#include <QMetaObject>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// How long the network loop sleeps between turns when neither a command nor (as far as it knows)
// the socket has work: libstrophe is asked without waiting, under its lock.
constexpr std::chrono::milliseconds PollInterval{20};
// libstrophe says only in its log that the server refused the password (the connection handler
// hears of a plain disconnection), and the socket's error number when it could not connect.
const char* const SocketFailed = "connection failed, error ";
constexpr int DetailMax = 300;

// The session whose certificate check failed: libstrophe's handler carries no pointer of ours,
// and each session has its thread.
thread_local XmppSession* t_running = nullptr;

// libstrophe keeps state of its own across connections that is not safe to share between threads:
// two accounts signing in at once on two threads had their passwords refused. One session at a
// time works in it; the lock is never destroyed, as sessions may outlive the program's statics.
std::mutex& libstrophe()
{
    static auto* lock = new std::mutex;
    return *lock;
}

bool endsWith(const char* text, const char* end)
{
    const size_t length = std::strlen(text);
    const size_t endLength = std::strlen(end);
    return length >= endLength && std::strcmp(text + length - endLength, end) == 0;
}

} // namespace

std::shared_ptr<XmppSession> XmppSession::start(const QString& address, const QString& server,
                                                QObject* receiver, Reports reports)
{
    static std::once_flag initialized;
    std::call_once(initialized, [] { xmpp_initialize(); });
    std::shared_ptr<XmppSession> session(
        new XmppSession(address, server, receiver, std::move(reports)));
    std::thread([session] { session->run(); }).detach();
    return session;
}

XmppSession::XmppSession(const QString& address, const QString& server, QObject* receiver,
                         Reports reports)
    : m_receiver(receiver), m_reports(std::move(reports)), m_address(address), m_server(server)
{
}

XmppSession::~XmppSession() = default;

void XmppSession::signIn(unsigned generation, const QString& password)
{
    queue([this, generation, password = password.toUtf8()] {
        m_generation = generation;
        m_password = password;
        m_wanted = true;
        m_failures = 0;
        releaseConnection();
        connect();
    });
}

void XmppSession::signOut(unsigned generation)
{
    queue([this, generation] {
        m_generation = generation;
        m_wanted = false;
        m_password.clear();
        m_nextTry.reset();
        releaseConnection();
        report(XmppClient::State::Offline);
    });
}

void XmppSession::publish(unsigned publication, const Avatar& avatar)
{
    queue([this, publication, avatar] {
        m_publication.reset();
        m_publicationId = publication;
        if (!m_conn || !m_pep)
            return answerPublication(Failure{Texts::text(Text::XmppConnectionLost)});
        m_publication = std::make_unique<XmppPublish>(
            m_conn, *m_pep, avatar,
            [this](const Result<void>& result) { answerPublication(result); });
        m_publication->start();
    });
}

void XmppSession::stop()
{
    const std::lock_guard locked(m_lock);
    m_receiver = nullptr;
    m_stopped = true;
    m_wake.notify_one();
}

void XmppSession::queue(std::function<void()> command)
{
    const std::lock_guard locked(m_lock);
    m_commands.push_back(std::move(command));
    m_wake.notify_one();
}

void XmppSession::deliver(std::function<void()> call)
{
    // Under the lock: once stop() returned, nothing more reaches the receiver, and what was
    // posted before goes with it.
    const std::lock_guard locked(m_lock);
    if (m_receiver)
        QMetaObject::invokeMethod(m_receiver, std::move(call), Qt::QueuedConnection);
}

void XmppSession::report(XmppClient::State state, const QString& detail)
{
    deliver([report = m_reports.state, generation = m_generation, state,
             detail = detail.left(DetailMax)] { report(generation, state, detail); });
}

void XmppSession::answerPublication(const Result<void>& result)
{
    deliver(
        [published = m_reports.published, id = m_publicationId, result] { published(id, result); });
}

bool XmppSession::takeCommands(std::deque<std::function<void()>>& commands)
{
    std::unique_lock locked(m_lock);
    const auto woken = [this] { return m_stopped || !m_commands.empty(); };
    // Nothing on the wire: sleep until a command comes or the next try is due.
    if (!m_conn && m_wanted && m_nextTry)
        m_wake.wait_until(locked, *m_nextTry, woken);
    else if (!m_conn)
        m_wake.wait(locked, woken);
    else
        m_wake.wait_for(locked, PollInterval, woken);
    if (m_stopped)
        return false;
    commands.swap(m_commands);
    return true;
}

void XmppSession::run()
{
    t_running = this;
    m_log = {onLog, this};
    std::unique_lock strophe(libstrophe());
    m_ctx = xmpp_ctx_new(nullptr, &m_log);
    std::deque<std::function<void()>> commands;
    strophe.unlock();
    // The waiting is done outside the library's lock, its work inside: no session holds
    // another back for longer than one turn's work.
    while (takeCommands(commands)) {
        strophe.lock();
        for (const auto& command : commands)
            command();
        commands.clear();
        if (m_connectionEnded)
            releaseConnection();
        if (!m_conn && m_wanted && m_nextTry && Clock::now() >= *m_nextTry)
            connect();
        if (m_conn)
            xmpp_run_once(m_ctx, 0);
        strophe.unlock();
    }
    strophe.lock();
    releaseConnection();
    xmpp_ctx_free(m_ctx);
}

void XmppSession::connect()
{
    m_authRefused = false;
    m_certificateRefused.reset();
    m_lastError.clear();
    m_socketError = 0;
    m_pep.reset();
    m_nextTry.reset();
    m_connectionEnded = false;
    m_conn = xmpp_conn_new(m_ctx);
    xmpp_conn_set_flags(m_conn, XMPP_CONN_FLAG_MANDATORY_TLS);
    xmpp_conn_set_jid(m_conn, m_address.toUtf8().constData());
    xmpp_conn_set_pass(m_conn, m_password.constData());
    xmpp_conn_set_certfail_handler(m_conn, onCertificateFailure);
    xmpp_conn_set_sockopt_callback(m_conn, xmpp_sockopt_cb_keepalive);

    // "host" or "host:port" instead of what the domain names; the certificate must still be
    // the domain's.
    QString host = m_server.trimmed();
    unsigned short port = 0;
    if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon > 0) {
        bool number = false;
        port = host.mid(colon + 1).toUShort(&number);
        if (number)
            host.truncate(colon);
        else
            port = 0;
    }
    // A try again after a failed one stays what the failure said until it is decided.
    if (m_failures == 0)
        report(XmppClient::State::Connecting);
    const QByteArray hostName = host.toUtf8();
    if (xmpp_connect_client(m_conn, host.isEmpty() ? nullptr : hostName.constData(), port,
                            onConnection, this) != XMPP_EOK) {
        // Only a name that cannot be looked up fails before any socket.
        m_lastError = Texts::text(Text::XmppHostNotFound)
                          .arg(host.isEmpty() ? m_address.section(QLatin1Char('@'), 1) : host);
        disconnected(0, nullptr);
    }
}

void XmppSession::releaseConnection()
{
    if (m_publication) {
        m_publication.reset();
        answerPublication(Failure{Texts::text(Text::XmppConnectionLost)});
    }
    m_connectionEnded = false;
    // Cleared first: releasing a live connection calls its handler, which then is no news.
    if (xmpp_conn_t* conn = std::exchange(m_conn, nullptr))
        xmpp_conn_release(conn);
}

void XmppSession::onConnection(xmpp_conn_t* conn, xmpp_conn_event_t event, int error,
                               xmpp_stream_error_t* streamError, void* self)
{
    auto* session = static_cast<XmppSession*>(self);
    if (conn != session->m_conn || event == XMPP_CONN_RAW_CONNECT)
        return;
    if (event == XMPP_CONN_CONNECT) {
        session->m_failures = 0;
        session->m_authRefused = false; // one way of proving it was refused, another taken
        session->askForPep();
        return;
    }
    session->disconnected(error, streamError);
}

void XmppSession::disconnected(int error, const xmpp_stream_error_t* streamError)
{
    // libstrophe cannot free the connection from inside its own handler: the loop does.
    m_connectionEnded = true;
    const bool wasSignedIn = m_pep.has_value();
    m_pep.reset();
    if (m_publication) {
        m_publication.reset();
        answerPublication(Failure{Texts::text(Text::XmppConnectionLost)});
    }
    if (m_certificateRefused) {
        m_wanted = false;
        return report(XmppClient::State::CertificateRefused, *m_certificateRefused);
    }
    if (m_authRefused) {
        m_wanted = false;
        return report(XmppClient::State::WrongPassword);
    }
    QString detail = m_lastError;
    if (streamError && streamError->stanza)
        detail = XmppPublish::wordsOf(streamError->stanza);
    else if (error != 0 || m_socketError != 0)
        detail = QString::fromStdString(
            std::generic_category().message(error != 0 ? error : m_socketError));
    m_nextTry = Clock::now() + xmppRetryDelay(m_failures++);
    report(wasSignedIn ? XmppClient::State::Connecting : XmppClient::State::Unreachable, detail);
}

void XmppSession::askForPep()
{
    const QByteArray id = "dorvane-disco";
    xmpp_stanza_t* iq = xmpp_iq_new(m_ctx, "get", id.constData());
    xmpp_stanza_set_to(iq, m_address.toUtf8().constData());
    xmpp_stanza_t* query = xmpp_stanza_new(m_ctx);
    xmpp_stanza_set_name(query, "query");
    xmpp_stanza_set_ns(query, "http://jabber.org/protocol/disco#info");
    xmpp_stanza_add_child_ex(iq, query, 0);
    xmpp_id_handler_add(m_conn, onDiscoInfo, id.constData(), this);
    xmpp_send(m_conn, iq);
    xmpp_stanza_release(iq);
}

int XmppSession::onDiscoInfo(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self)
{
    static_cast<XmppSession*>(self)->pepAnswered(stanza);
    return 0;
}

void XmppSession::pepAnswered(xmpp_stanza_t* stanza)
{
    // A server that does not say is taken as one without: the vCard works everywhere.
    bool pep = false;
    xmpp_stanza_t* query = xmpp_stanza_get_child_by_name(stanza, "query");
    const char* type = xmpp_stanza_get_type(stanza);
    for (xmpp_stanza_t* child = query && type && std::strcmp(type, "result") == 0
                                    ? xmpp_stanza_get_children(query)
                                    : nullptr;
         child && !pep; child = xmpp_stanza_get_next(child)) {
        const char* name = xmpp_stanza_get_name(child);
        const char* category = xmpp_stanza_get_attribute(child, "category");
        const char* kind = xmpp_stanza_get_attribute(child, "type");
        pep = name && category && kind && std::strcmp(name, "identity") == 0 &&
              std::strcmp(category, "pubsub") == 0 && std::strcmp(kind, "pep") == 0;
    }
    m_pep = pep;
    report(XmppClient::State::Connected);
}

int XmppSession::onCertificateFailure(const xmpp_tlscert_t*, const char* why)
{
    if (t_running)
        t_running->m_certificateRefused = QString::fromUtf8(why ? why : "");
    return 0;
}

void XmppSession::onLog(void* self, xmpp_log_level_t level, const char* area, const char* message)
{
    // Debug lines carry the stream itself, the password's proof with it: only the fixed
    // sentence of a refused proof is looked for, and nothing of them is kept.
    auto* session = static_cast<XmppSession*>(self);
    if (!area || !message)
        return;
    if (level == XMPP_LEVEL_DEBUG) {
        if (std::strcmp(area, "xmpp") != 0)
            return;
        if (std::strncmp(message, "SASL ", 5) == 0 && endsWith(message, " auth failed"))
            session->m_authRefused = true;
        // The connection handler is told no error number when the socket failed.
        else if (std::strncmp(message, SocketFailed, std::strlen(SocketFailed)) == 0)
            session->m_socketError = std::atoi(message + std::strlen(SocketFailed));
        return;
    }
    if (level == XMPP_LEVEL_ERROR)
        session->m_lastError = QString::fromUtf8(message).trimmed().left(DetailMax);
}
