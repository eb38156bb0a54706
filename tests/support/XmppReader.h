#pragma once

#include <QString>
#include <functional>
#include <strophe.h>

// Another account, on a libstrophe connection of its own, that reads an account's avatar as its
// contacts see it. Each call waits for the answer (10 s at most), the event loop running.
class XmppReader
{
public:
    struct Avatar
    {
        QByteArray id; // empty when there is none
        QByteArray png;
        int width = 0;
        int height = 0;
    };

    // Signs in as `address` through `server` ("host:port"); one that could not reads nothing.
    XmppReader(const QString& address, const QString& password, const QString& server);
    ~XmppReader();

    // The owner's newest User Avatar: the metadata's item, and the data of that id.
    Avatar pepAvatar(const QString& owner);
    QByteArray vcardPhoto(const QString& owner);

private:
    // Sends the iq (with an id of its own) and returns the answer, or null.
    xmpp_stanza_t* ask(const QString& xml);
    bool runUntil(const std::function<bool()>& done);

    xmpp_ctx_t* m_ctx = nullptr;
    xmpp_conn_t* m_conn = nullptr;
    xmpp_stanza_t* m_answer = nullptr;
    bool m_signedIn = false;
    bool m_ended = false;
    int m_requests = 0;
};
