#pragma once

#include "messenger/MessengerClient.h"

#include <QDBusConnection>

// The Messenger client the program talks to: the first of its candidates whose bus name has an
// owner, MessengerAPI.Messenger before Pidgin. Who owns which name is followed through the bus's
// own signals, never asked while a caller waits, so a client started or closed while the program
// runs is picked up at once and told by availabilityChanged(). Calls made before the bus has said
// who is there wait for that answer.
class SessionMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    // Not on a bus yet: calls wait until attach().
    explicit SessionMessengerClient(QObject* parent = nullptr);
    explicit SessionMessengerClient(const QDBusConnection& connection, QObject* parent = nullptr);

    // On the session bus, or on its way there when the bus has not finished its handshake yet;
    // fails only when the handshake is over and no session bus can be reached.
    static Result<std::unique_ptr<MessengerClient>> create();

    bool isAvailable() const override;
    // The client that would take a call now, or empty when none runs.
    QString name() const override;
    void setDisplayPicture(const QString& path, Sent sent) override;
    void myContacts(Done<QList<MessengerContact>> done) override;
    void cacheFolder(Done<QString> done) override;

private:
    struct Candidate
    {
        QString busName;
        MessengerClient* client;
        bool owned = false;
    };

    void attach(const QDBusConnection& connection);
    void ownerKnown(const QString& busName, bool owned);
    const Candidate* running() const;
    // The client that takes a call now: the first candidate whose name has an owner, else the
    // first candidate (whose calls then fail as refused). Once the bus is there.
    MessengerClient* current();
    // Runs the call once the bus has said who owns the candidates' names.
    void whenKnown(std::function<void()> call);

    QList<Candidate> m_candidates;
    qsizetype m_unanswered = 0;
    QList<std::function<void()>> m_waiting;
};
