#pragma once

#include "core/Result.h"
#include "core/picture/Avatar.h"
#include "xmpp/XmppClient.h"

#include <QString>

#include <strophe.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class XmppPublish;

// The network side of an XmppClient: one libstrophe context on a thread of its own. The client
// hands it commands; it answers through callbacks run on the client's thread, and only while
// the client lives. The thread owns every libstrophe object and frees them when it ends, which
// may be long after the client is gone (a connection stuck in a name lookup).
class XmppSession
{
public:
    // What the client hears, on its own thread. `generation` tells an answer to an older
    // sign-in from one to the current.
    struct Reports
    {
        std::function<void(unsigned generation, XmppClient::State, const QString& detail)> state;
        std::function<void(unsigned publication, const Result<void>& result)> published;
    };

    // Starts the thread; `receiver` is the object the reports are delivered to.
    static std::shared_ptr<XmppSession> start(const QString& address, const QString& server,
                                              QObject* receiver, Reports reports);
    ~XmppSession();

    void signIn(unsigned generation, const QString& password);
    void signOut(unsigned generation);
    void publish(unsigned publication, const Avatar& avatar);
    // No more reports from now on; the thread signs out and ends on its own.
    void stop();

private:
    XmppSession(const QString& address, const QString& server, QObject* receiver, Reports reports);

    void run();
    void queue(std::function<void()> command);
    bool takeCommands(std::deque<std::function<void()>>& commands);
    void deliver(std::function<void()> call);
    void report(XmppClient::State state, const QString& detail = {});
    void answerPublication(const Result<void>& result);

    void connect();
    void releaseConnection();
    void disconnected(int error, const xmpp_stream_error_t* streamError);
    void askForPep();
    void pepAnswered(xmpp_stanza_t* stanza);

    static void onConnection(xmpp_conn_t* conn, xmpp_conn_event_t event, int error,
                             xmpp_stream_error_t* streamError, void* self);
    static int onDiscoInfo(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);
    static int onCertificateFailure(const xmpp_tlscert_t* cert, const char* why);
    static void onLog(void* self, xmpp_log_level_t level, const char* area, const char* message);

    // Shared with the client's thread.
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_commands;
    bool m_stopped = false;
    QObject* m_receiver; // null once stopped
    const Reports m_reports;

    // The session thread's own.
    const QString m_address;
    const QString m_server;
    xmpp_log_t m_log{};
    xmpp_ctx_t* m_ctx = nullptr;
    xmpp_conn_t* m_conn = nullptr;
    QByteArray m_password;
    unsigned m_generation = 0;
    bool m_wanted = false;
    bool m_connectionEnded = false;
    bool m_authRefused = false;
    std::optional<QString> m_certificateRefused;
    QString m_lastError;
    int m_socketError = 0;
    std::optional<bool> m_pep; // known once signed in
    int m_failures = 0;
    std::optional<std::chrono::steady_clock::time_point> m_nextTry;
    std::unique_ptr<XmppPublish> m_publication;
    unsigned m_publicationId = 0;
};
