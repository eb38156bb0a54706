#include "XmppClient.h"

#include "core/DetachedRun.h"
#include "core/language/Texts.h"
#include "core/picture/Avatar.h"
#include "xmpp/XmppSession.h"

#include <QFutureWatcher>

#include <utility>

namespace {

// A picture not published by then is given up: a file that is never read, or a server that
// never answers, must not hold back the rotation.
constexpr int PublishSeconds = 60;
constexpr int TextMax = 300;

} // namespace

XmppClient::XmppClient(const QString& address, const QString& server, QObject* parent)
    : PictureDestination(parent), m_address(address)
{
    setObjectName(address);
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        answer(Failure{Texts::text(Text::NoAnswerInTime).arg(m_address).arg(PublishSeconds)});
    });
    m_session =
        XmppSession::start(address, server, this,
                           {[this](unsigned generation, State state, const QString& detail) {
                                sessionState(generation, state, detail);
                            },
                            [this](unsigned publication, const Result<void>& result) {
                                published(publication, result);
                            }});
}

XmppClient::~XmppClient()
{
    m_session->stop();
}

void XmppClient::signIn(const QString& password)
{
    m_session->signIn(++m_generation, password);
    update([this] {
        m_connection = State::Connecting;
        m_detail.clear();
    });
}

void XmppClient::signOut()
{
    m_session->signOut(++m_generation);
    update([this] {
        m_connection = State::Offline;
        m_detail.clear();
    });
}

XmppClient::State XmppClient::state() const
{
    return m_sent && m_connection == State::Connected ? State::Publishing : m_connection;
}

QString XmppClient::stateText() const
{
    static const QHash<State, Text> texts = {
        {State::Offline, Text::XmppOffline},
        {State::Connecting, Text::XmppConnecting},
        {State::Connected, Text::XmppConnected},
        {State::Publishing, Text::XmppPublishing},
        {State::WrongPassword, Text::XmppWrongPassword},
        {State::Unreachable, Text::XmppUnreachable},
        {State::CertificateRefused, Text::XmppCertificateRefused},
    };
    const State now = state();
    QString text = Texts::text(texts.value(now));
    if (m_detail.isEmpty() || now == State::Publishing)
        return text;
    return Texts::text(Text::XmppStateDetail).arg(text, m_detail).left(TextMax);
}

bool XmppClient::isAvailable() const
{
    return m_connection == State::Connected;
}

QString XmppClient::name() const
{
    return m_address;
}

QString XmppClient::unavailableReason() const
{
    return isAvailable() ? QString() : stateText();
}

void XmppClient::setDisplayPicture(const QString& path, Sent sent)
{
    if (!isAvailable())
        return sent(Failure{stateText()});
    const unsigned publication = ++m_publication;
    update([this, &sent] { m_sent = std::move(sent); });
    m_deadline.start(PublishSeconds * 1000);
    // Reading and scaling the picture may block on the file: never on this thread.
    auto* making = new QFutureWatcher<Result<Avatar>>(this);
    connect(making, &QFutureWatcherBase::finished, this, [this, making, publication] {
        making->deleteLater();
        if (publication != m_publication || !m_sent)
            return; // given up on meanwhile
        const Result<Avatar> avatar = making->result();
        if (!avatar)
            return answer(Failure{avatar.error()});
        if (avatar->sha1Hex == m_published)
            return answer({});
        m_sending = avatar->sha1Hex;
        m_session->publish(publication, *avatar);
    });
    making->setFuture(runDetached([path] { return Avatar::fromFile(path); }));
}

void XmppClient::sessionState(unsigned generation, State state, const QString& detail)
{
    if (generation != m_generation)
        return;
    const QString was = stateText();
    update([&] {
        m_connection = state;
        m_detail = detail;
    });
    // Nobody may be looking at the account when it fails: say so once, where logs go.
    const bool failed = state == State::WrongPassword || state == State::Unreachable ||
                        state == State::CertificateRefused;
    if (failed && stateText() != was)
        qWarning("Dorvane: %s: %s", qPrintable(m_address), qPrintable(stateText()));
}

void XmppClient::published(unsigned publication, const Result<void>& result)
{
    if (publication != m_publication || !m_sent)
        return;
    if (result)
        m_published = m_sending;
    answer(result);
}

void XmppClient::answer(const Result<void>& result)
{
    m_deadline.stop();
    Sent sent;
    update([this, &sent] { sent = std::exchange(m_sent, nullptr); });
    if (sent)
        sent(result);
}

void XmppClient::update(const std::function<void()>& change)
{
    const bool wasAvailable = isAvailable();
    const State was = state();
    const QString wasText = stateText();
    change();
    if (was != state() || wasText != stateText())
        emit stateChanged();
    if (wasAvailable != isAvailable() || (!isAvailable() && wasText != stateText()))
        emit availabilityChanged();
}
