#include "XmppPublish.h"

#include "core/language/Texts.h"

#include <atomic>
#include <cstring>
#include <utility>

namespace {

const char* const AvatarData = "urn:xmpp:avatar:data";
const char* const AvatarMetadata = "urn:xmpp:avatar:metadata";
const char* const VCard = "vcard-temp";

// Request ids only need to be unique on the connection.
QByteArray nextId()
{
    static std::atomic<unsigned> counter{0};
    return "dorvane-avatar-" + QByteArray::number(++counter);
}

QByteArray publishItem(const char* node, const QByteArray& id, const QByteArray& payload)
{
    return "<pubsub xmlns='http://jabber.org/protocol/pubsub'><publish node='" + QByteArray(node) +
           "'><item id='" + id + "'>" + payload + "</item></publish></pubsub>";
}

} // namespace

XmppPublish::XmppPublish(xmpp_conn_t* conn, bool pep, Avatar avatar, Done done)
    : m_conn(conn), m_ctx(xmpp_conn_get_context(conn)), m_pep(pep), m_avatar(std::move(avatar)),
      m_done(std::move(done))
{
}

XmppPublish::~XmppPublish()
{
    if (!m_waitingFor.isEmpty())
        xmpp_id_handler_delete(m_conn, onAnswer, m_waitingFor.constData());
}

void XmppPublish::start()
{
    if (!m_pep)
        return send(Step::ReadCard, "<vCard xmlns='vcard-temp'/>");
    const QByteArray data =
        "<data xmlns='" + QByteArray(AvatarData) + "'>" + m_avatar.png.toBase64() + "</data>";
    send(Step::Data, publishItem(AvatarData, m_avatar.sha1Hex, data));
}

void XmppPublish::send(Step step, const QByteArray& xml)
{
    m_step = step;
    m_waitingFor = nextId();
    const char* type = step == Step::ReadCard ? "get" : "set";
    const QByteArray iq =
        "<iq type='" + QByteArray(type) + "' id='" + m_waitingFor + "'>" + xml + "</iq>";
    xmpp_stanza_t* stanza = xmpp_stanza_new_from_string(m_ctx, iq.constData());
    if (!stanza)
        return finish(
            Failure{Texts::text(Text::XmppPictureRefused).arg(QStringLiteral("bad-request"))});
    xmpp_id_handler_add(m_conn, onAnswer, m_waitingFor.constData(), this);
    xmpp_send(m_conn, stanza);
    xmpp_stanza_release(stanza);
}

void XmppPublish::sendCard(xmpp_stanza_t* current)
{
    // Everything else on the card is the user's and stays as it is.
    xmpp_stanza_t* card = xmpp_stanza_new(m_ctx);
    xmpp_stanza_set_name(card, "vCard");
    xmpp_stanza_set_ns(card, VCard);
    for (xmpp_stanza_t* child = current ? xmpp_stanza_get_children(current) : nullptr; child;
         child = xmpp_stanza_get_next(child)) {
        const char* name = xmpp_stanza_get_name(child);
        if (!name || std::strcmp(name, "PHOTO") != 0)
            xmpp_stanza_add_child_ex(card, xmpp_stanza_copy(child), 0); // a child has one parent
    }
    const QByteArray photoXml =
        "<PHOTO><TYPE>image/png</TYPE><BINVAL>" + m_avatar.png.toBase64() + "</BINVAL></PHOTO>";
    xmpp_stanza_t* photo = xmpp_stanza_new_from_string(m_ctx, photoXml.constData());
    xmpp_stanza_add_child_ex(card, photo, 0);

    m_step = Step::WriteCard;
    m_waitingFor = nextId();
    xmpp_stanza_t* iq = xmpp_iq_new(m_ctx, "set", m_waitingFor.constData());
    xmpp_stanza_add_child_ex(iq, card, 0);
    xmpp_id_handler_add(m_conn, onAnswer, m_waitingFor.constData(), this);
    xmpp_send(m_conn, iq);
    xmpp_stanza_release(iq);
}

int XmppPublish::onAnswer(xmpp_conn_t*, xmpp_stanza_t* stanza, void* self)
{
    static_cast<XmppPublish*>(self)->answered(stanza);
    return 0; // each id is answered once
}

void XmppPublish::answered(xmpp_stanza_t* stanza)
{
    m_waitingFor.clear();
    const char* type = xmpp_stanza_get_type(stanza);
    const QString why = type && std::strcmp(type, "result") == 0
                            ? QString()
                            : wordsOf(xmpp_stanza_get_child_by_name(stanza, "error"));
    // An account that never had a card starts from an empty one.
    if (m_step == Step::ReadCard && (why.isEmpty() || why == QLatin1String("item-not-found")))
        return sendCard(why.isEmpty() ? xmpp_stanza_get_child_by_ns(stanza, VCard) : nullptr);
    if (!why.isEmpty())
        return finish(Failure{Texts::text(Text::XmppPictureRefused).arg(why)});
    if (m_step != Step::Data)
        return finish({});
    const QByteArray info = "<metadata xmlns='" + QByteArray(AvatarMetadata) + "'><info bytes='" +
                            QByteArray::number(m_avatar.png.size()) + "' id='" + m_avatar.sha1Hex +
                            "' height='" + QByteArray::number(m_avatar.height) + "' width='" +
                            QByteArray::number(m_avatar.width) + "' type='image/png'/></metadata>";
    send(Step::Metadata, publishItem(AvatarMetadata, m_avatar.sha1Hex, info));
}

void XmppPublish::finish(const Result<void>& result)
{
    if (m_done)
        std::exchange(m_done, nullptr)(result);
}

QString XmppPublish::wordsOf(xmpp_stanza_t* error)
{
    QString condition = QStringLiteral("undefined-condition");
    for (xmpp_stanza_t* child = error ? xmpp_stanza_get_children(error) : nullptr; child;
         child = xmpp_stanza_get_next(child)) {
        const char* name = xmpp_stanza_get_name(child);
        if (!name || !xmpp_stanza_is_tag(child))
            continue;
        if (std::strcmp(name, "text") != 0) {
            condition = QString::fromUtf8(name);
            continue;
        }
        char* text = xmpp_stanza_get_text(child);
        QString words = QString::fromUtf8(text).trimmed();
        xmpp_free(xmpp_stanza_get_context(error), text);
        if (!words.isEmpty())
            return words;
    }
    return condition;
}
