#include "XmppReader.h"

#include <QTest>

namespace {

// The child at the end of this path of element names, or null.
xmpp_stanza_t* child(xmpp_stanza_t* stanza, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        stanza = stanza ? xmpp_stanza_get_child_by_name(stanza, name) : nullptr;
    return stanza;
}

QByteArray base64Text(xmpp_stanza_t* stanza)
{
    if (!stanza)
        return {};
    char* text = xmpp_stanza_get_text(stanza);
    QByteArray data = QByteArray::fromBase64(text);
    xmpp_free(xmpp_stanza_get_context(stanza), text);
    return data;
}

} // namespace

XmppReader::XmppReader(const QString& address, const QString& password, const QString& server)
{
    const auto onConnection = [](xmpp_conn_t*, xmpp_conn_event_t event, int, xmpp_stream_error_t*,
                                 void* reader) {
        static_cast<XmppReader*>(reader)->m_signedIn = event == XMPP_CONN_CONNECT;
        static_cast<XmppReader*>(reader)->m_ended = event != XMPP_CONN_CONNECT;
    };
    xmpp_initialize();
    m_ctx = xmpp_ctx_new(nullptr, nullptr);
    m_conn = xmpp_conn_new(m_ctx);
    xmpp_conn_set_flags(m_conn, XMPP_CONN_FLAG_MANDATORY_TLS);
    xmpp_conn_set_jid(m_conn, address.toUtf8().constData());
    xmpp_conn_set_pass(m_conn, password.toUtf8().constData());
    if (xmpp_connect_client(m_conn, server.section(':', 0, 0).toUtf8().constData(),
                            server.section(':', 1).toUShort(), onConnection, this) == XMPP_EOK)
        runUntil([this] { return m_signedIn || m_ended; });
}

XmppReader::~XmppReader()
{
    if (m_signedIn) {
        xmpp_disconnect(m_conn);
        runUntil([this] { return m_ended; });
    }
    if (m_answer)
        xmpp_stanza_release(m_answer);
    xmpp_conn_release(m_conn);
    xmpp_ctx_free(m_ctx);
}

XmppReader::Avatar XmppReader::pepAvatar(const QString& owner)
{
    const QString items =
        "<iq type='get' to='" + owner +
        "'><pubsub xmlns='http://jabber.org/protocol/pubsub'><items node='urn:xmpp:avatar:";
    Avatar avatar;
    xmpp_stanza_t* item =
        child(ask(items + "metadata' max_items='1'/></pubsub></iq>"), {"pubsub", "items", "item"});
    xmpp_stanza_t* info = child(item, {"metadata", "info"});
    if (!info)
        return avatar;
    avatar.id = xmpp_stanza_get_attribute(item, "id");
    avatar.width = QByteArray(xmpp_stanza_get_attribute(info, "width")).toInt();
    avatar.height = QByteArray(xmpp_stanza_get_attribute(info, "height")).toInt();
    const QString data = items + "data'><item id='" + avatar.id + "'/></items></pubsub></iq>";
    avatar.png = base64Text(child(ask(data), {"pubsub", "items", "item", "data"}));
    return avatar;
}

QByteArray XmppReader::vcardPhoto(const QString& owner)
{
    const QString vcard = "<iq type='get' to='" + owner + "'><vCard xmlns='vcard-temp'/></iq>";
    return base64Text(child(ask(vcard), {"vCard", "PHOTO", "BINVAL"}));
}

xmpp_stanza_t* XmppReader::ask(const QString& xml)
{
    if (m_answer)
        xmpp_stanza_release(std::exchange(m_answer, nullptr));
    if (!m_signedIn)
        return nullptr;
    const auto onAnswer = [](xmpp_conn_t*, xmpp_stanza_t* answer, void* reader) {
        static_cast<XmppReader*>(reader)->m_answer = xmpp_stanza_copy(answer);
        return 0;
    };
    const QByteArray id = QByteArray::number(++m_requests);
    xmpp_stanza_t* request = xmpp_stanza_new_from_string(m_ctx, xml.toUtf8().constData());
    xmpp_stanza_set_id(request, id.constData());
    xmpp_id_handler_add(m_conn, onAnswer, id.constData(), this);
    xmpp_send(m_conn, request);
    xmpp_stanza_release(request);
    if (!runUntil([this] { return m_answer || m_ended; }))
        xmpp_id_handler_delete(m_conn, onAnswer, id.constData());
    return m_answer;
}

bool XmppReader::runUntil(const std::function<bool()>& done)
{
    const auto step = [&] {
        xmpp_run_once(m_ctx, 10);
        return done();
    };
    return QTest::qWaitFor(step, 10000);
}
