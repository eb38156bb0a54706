#pragma once

#include "messenger/MessengerClient.h"

#include <QStringList>

#include <memory>

// A Messenger client that answers from a state the test controls and records every picture it
// was asked to show. Every client the factory makes shares the one state. It answers at once,
// unless the test holds its answers back, as a busy client would, until it releases them.
class FakeMessengerClient : public MessengerClient
{
    Q_OBJECT
public:
    struct State
    {
        bool canCreate = true;
        bool running = true;
        bool signedIn = true;
        bool holdAnswers = false;
        QList<MessengerContact> contacts;
        QStringList sentPictures;
        int created = 0;
        // The answers held back, to be given in order.
        QList<std::function<void()>> held;
        void releaseAnswers()
        {
            for (const auto& answer : std::exchange(held, {}))
                answer();
        }
    };

    explicit FakeMessengerClient(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    static MessengerClientFactory factory(const std::shared_ptr<State>& state);
    // "signin|nickname" for each contact, to compare lists; {"<refused>"} for no list.
    static QStringList pairs(const Result<QList<MessengerContact>>& contacts);

    bool isRunning() const override { return m_state->running; }
    QString name() const override { return m_state->running ? "Fake" : QString(); }
    void setMyProperty(int code, const QVariant& value, Done<void> done) override;
    void myProperty(int code, Done<QVariant> done) override;
    void myContacts(Done<QList<MessengerContact>> done) override;

private:
    template <class T> void answer(Done<T> done, Result<T> result);
    bool refuses(bool needsSignIn) const;

    std::shared_ptr<State> m_state;
};
