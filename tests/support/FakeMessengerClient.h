#pragma once

#include "messenger/MessengerApi.h"
#include "messenger/MessengerClient.h"
#include <QPointer>
#include <QStringList>

// A Messenger client that answers from a state the test controls and records every picture it
// was asked to show. Every client the factory makes shares the one state. It answers at once,
// unless the test holds its answers back, as a busy client would, until it releases them.
class FakeMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    struct State
    {
        // `running` changes through setRunning(), which tells the clients, as the bus would.
        bool canCreate = true, running = true, signedIn = true, holdAnswers = false;
        QString refusal = QStringLiteral("refused");
        QString name = QStringLiteral("Fake");
        QList<MessengerContact> contacts;
        QStringList sentPictures;
        int created = 0;
        QList<std::function<void()>> held; // the answers held back, to be given in order
        QList<QPointer<FakeMessengerClient>> clients;
        void setRunning(bool now)
        {
            running = now;
            for (const auto& client : clients)
                if (client)
                    emit client->availabilityChanged();
        }
        void releaseAnswers()
        {
            for (const auto& answer : std::exchange(held, {}))
                answer();
        }
    };

    explicit FakeMessengerClient(std::shared_ptr<State> state) : m_state(std::move(state))
    {
        m_state->clients.append(this);
    }

    static MessengerClientFactory factory(const std::shared_ptr<State>& state)
    {
        return [state]() -> Result<std::unique_ptr<MessengerClient>> {
            if (!state->canCreate)
                return Failure{QStringLiteral("no session bus")};
            ++state->created;
            return std::unique_ptr<MessengerClient>(std::make_unique<FakeMessengerClient>(state));
        };
    }
    // "signin|nickname" for each contact, to compare lists; {"<refused>"} for no list.
    static QStringList pairs(const Result<QList<MessengerContact>>& contacts)
    {
        QStringList texts;
        for (const MessengerContact& contact : contacts.valueOr({}))
            texts.append(contact.signinName + QLatin1Char('|') + contact.friendlyName);
        return contacts ? texts : QStringList{QStringLiteral("<refused>")};
    }

    bool isAvailable() const override { return m_state->running; }
    QString name() const override { return m_state->running ? m_state->name : QString(); }
    void setDisplayPicture(const QString& path, Sent sent) override
    {
        if (!refuses())
            m_state->sentPictures.append(path);
        answer<void>(sent, refuses() ? Result<void>(Failure{m_state->refusal}) : Result<void>());
    }
    void myContacts(Done<QList<MessengerContact>> done) override
    {
        using Contacts = Result<QList<MessengerContact>>;
        answer(done, refuses() ? Contacts(Failure{"nobody is signed in"}) : m_state->contacts);
    }
    // NOLINTNEXTLINE(performance-unnecessary-value-param)
    void cacheFolder(Done<QString> done) override { done(MessengerApi::cacheFolder()); }

private:
    template <class T> void answer(Done<T> done, Result<T> result)
    {
        if (!m_state->holdAnswers)
            return done(std::move(result));
        // As a real client's: no answer once the client is gone.
        m_state->held.append([client = QPointer(this), done, result] {
            if (client)
                done(result);
        });
    }
    bool refuses() const { return !m_state->running || !m_state->signedIn; }

    std::shared_ptr<State> m_state;
};
