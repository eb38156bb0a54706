#include "Destinations.h"

#include "core/language/Texts.h"
#include "core/rotation/PictureDestination.h"

#include <QPointer>

#include <optional>

struct Destinations::Outlet
{
    QPointer<PictureDestination> to;
    bool wasAvailable = false;
    // A picture on its way, and the newest one to send once the answer is in.
    bool sending = false;
    std::optional<Picture> waiting;
    QString failure;
    // The same failure at every tick is written once, then counted.
    QString logged;
    int repeats = 0;
    std::unique_ptr<OutageNotices> outage;
};

Destinations::Destinations(std::chrono::milliseconds outageNoticeAfter, OutageNotices::Clock clock,
                           Answered answered, QObject* parent)
    : QObject(parent), m_outageNoticeAfter(outageNoticeAfter), m_clock(std::move(clock)),
      m_answered(std::move(answered))
{
    m_outlets.push_back(std::make_unique<Outlet>());
}

Destinations::~Destinations() = default;

void Destinations::setMessengerClient(PictureDestination* client)
{
    if (m_outlets.front()->to)
        disconnect(m_outlets.front()->to, nullptr, this, nullptr);
    m_outlets.front() = std::make_unique<Outlet>();
    m_outlets.front()->to = client;
    if (client)
        watch(*m_outlets.front());
}

PictureDestination* Destinations::messengerClient() const
{
    return m_outlets.front()->to;
}

void Destinations::add(PictureDestination* destination)
{
    if (!destination || outlet(destination))
        return;
    m_outlets.push_back(std::make_unique<Outlet>());
    m_outlets.back()->to = destination;
    watch(*m_outlets.back());
    connect(destination, &QObject::destroyed, this, [this, destination] { remove(destination); });
    if (destination->isAvailable())
        emit availabilityChanged(destination, true);
}

void Destinations::remove(PictureDestination* destination)
{
    for (auto it = m_outlets.begin() + 1; it != m_outlets.end(); ++it) {
        if ((*it)->to == destination || (*it)->to.isNull()) {
            if ((*it)->to)
                disconnect((*it)->to, nullptr, this, nullptr);
            m_outlets.erase(it);
            emit availabilityChanged(destination, false);
            return;
        }
    }
}

void Destinations::watch(Outlet& outlet)
{
    PictureDestination* destination = outlet.to;
    outlet.wasAvailable = destination->isAvailable();
    // Named when the note is due: the session's client may be another one by then.
    outlet.outage = std::make_unique<OutageNotices>(
        m_outageNoticeAfter,
        [this, to = QPointer(destination)](bool outage, const QString& why) {
            emit outageNoticed(outage, why, to ? to->name() : QString());
        },
        m_clock);
    connect(destination, &PictureDestination::availabilityChanged, this, [this, destination] {
        Outlet* changed = this->outlet(destination);
        if (!changed)
            return;
        const bool available = destination->isAvailable();
        if (std::exchange(changed->wasAvailable, available) != available)
            emit availabilityChanged(destination, available);
        emit statusChanged();
    });
}

Destinations::Outlet* Destinations::outlet(const PictureDestination* destination) const
{
    for (const auto& each : m_outlets)
        if (destination && each->to == destination)
            return each.get();
    return nullptr;
}

bool Destinations::anyAvailable() const
{
    return std::any_of(m_outlets.begin(), m_outlets.end(),
                       [](const auto& each) { return each->to && each->to->isAvailable(); });
}

void Destinations::send(const Picture& picture, PictureDestination* only)
{
    for (const auto& each : m_outlets) {
        if (each->to && each->to->isAvailable() && (!only || each->to == only))
            deliver(*each, picture);
    }
}

void Destinations::deliver(Outlet& outlet, const Picture& picture)
{
    // While it has not answered, no second request queues up behind the first: the newest
    // picture waits and goes once the answer is in.
    if (outlet.sending) {
        outlet.waiting = picture;
        return;
    }
    outlet.sending = true;
    const PictureDestination* destination = outlet.to;
    outlet.to->setDisplayPicture(
        picture.path, [self = QPointer(this), destination, picture](const Result<void>& sent) {
            if (self)
                self->answer(destination, picture, sent);
        });
}

void Destinations::answer(const PictureDestination* destination, const Picture& picture,
                          const Result<void>& sent)
{
    // One that left meanwhile is no longer asked, nor counted.
    Outlet* answered = outlet(destination);
    if (!answered)
        return;
    answered->sending = false;
    if (sent) {
        log(*answered, QString());
        answered->failure.clear();
        answered->outage->reached();
    } else {
        // A refusal (client closed, nobody signed in, file gone) is no message; the rotation
        // goes on.
        answered->failure = shortened(sent.error());
        log(*answered, answered->failure);
        answered->outage->failed(answered->failure);
    }
    m_answered(picture, sent.ok());
    // The outlet may have gone while the rotation heard the answer.
    if (Outlet* still = outlet(destination); still && still->waiting && still->to->isAvailable())
        deliver(*still, *std::exchange(still->waiting, std::nullopt));
}

void Destinations::log(Outlet& outlet, const QString& why)
{
    if (!why.isEmpty() && why == outlet.logged) {
        ++outlet.repeats;
        return;
    }
    const QByteArray where = &outlet == m_outlets.front().get()
                                 ? QByteArray()
                                 : QByteArray(" on ") + nameOf(outlet).toLocal8Bit();
    if (outlet.repeats > 0)
        qWarning("Dorvane: the same failure came %d more times%s.", outlet.repeats,
                 where.constData());
    outlet.repeats = 0;
    outlet.logged = why;
    if (!why.isEmpty())
        qWarning("Dorvane: display picture not set%s: %s", where.constData(), qPrintable(why));
}

QString Destinations::nameOf(const Outlet& outlet) const
{
    const QString name = outlet.to ? outlet.to->name() : QString();
    return name.isEmpty() ? Texts::text(Text::TheMessengerClient) : name;
}

QList<Destinations::Status> Destinations::statuses() const
{
    QList<Status> all;
    for (const auto& each : m_outlets) {
        if (!each->to)
            continue;
        QString failure = each->failure;
        if (!each->to->isAvailable()) {
            failure = each->to->unavailableReason();
            if (failure.isEmpty())
                failure = Texts::text(Text::PeerNotRunning).arg(nameOf(*each));
        }
        all.append({nameOf(*each), failure});
    }
    return all;
}

QString Destinations::lastError() const
{
    QStringList failures;
    const bool named = m_outlets.size() > 1;
    for (const auto& each : m_outlets) {
        if (each->to && !each->failure.isEmpty())
            failures.append(named ? nameOf(*each) + QStringLiteral(": ") + each->failure
                                  : each->failure);
    }
    return failures.join(QStringLiteral("; "));
}

QString Destinations::shortened(const QString& text)
{
    if (text.size() <= MaxFailureLength)
        return text.simplified();
    return text.left(MaxFailureLength - 1).simplified() + QChar(0x2026);
}
