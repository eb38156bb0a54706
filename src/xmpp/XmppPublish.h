#pragma once

#include "core/Result.h"
#include "core/picture/Avatar.h"

#include <QByteArray>

#include <functional>

#include <strophe.h>

// One avatar on its way to the account, on a signed-in connection: as User Avatar (the data
// item, then once the server has it the metadata item that points the contacts to it) where
// the server has a personal eventing service, else as the photo of the account's vCard (read,
// the photo put in, written back). Lives on the session's thread; its handlers go with it.
class XmppPublish
{
public:
    // Called once, with the server's answer to the last step or its refusal.
    using Done = std::function<void(const Result<void>& result)>;

    XmppPublish(xmpp_conn_t* conn, bool pep, Avatar avatar, Done done);
    ~XmppPublish();
    XmppPublish(const XmppPublish&) = delete;
    XmppPublish& operator=(const XmppPublish&) = delete;

    void start();

    // The words of an error element (a stanza's or the stream's): its text where the server
    // gave one, else its condition.
    static QString wordsOf(xmpp_stanza_t* error);

private:
    enum class Step { Data, Metadata, ReadCard, WriteCard };

    void send(Step step, const QByteArray& xml);
    void sendCard(xmpp_stanza_t* current);
    void answered(xmpp_stanza_t* stanza);
    void finish(const Result<void>& result);
    static int onAnswer(xmpp_conn_t* conn, xmpp_stanza_t* stanza, void* self);

    xmpp_conn_t* m_conn;
    xmpp_ctx_t* m_ctx;
    const bool m_pep;
    const Avatar m_avatar;
    Done m_done;
    Step m_step = Step::Data;
    QByteArray m_waitingFor; // the id of the request whose answer is awaited
};
