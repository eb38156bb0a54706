#pragma once

#include "messenger/MessengerClient.h"

#include <QStringList>

#include <memory>

// A Messenger client that answers from a state the test controls and records every picture it
// was asked to show. Every client the factory makes shares the one state.
class FakeMessengerClient : public MessengerClient
{
public:
    struct State
    {
        bool canCreate = true;
        bool running = true;
        bool signedIn = true;
        QList<MessengerContact> contacts;
        QStringList sentPictures;
        int contactReads = 0;
        int created = 0;
    };

    explicit FakeMessengerClient(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    static MessengerClientFactory factory(const std::shared_ptr<State>& state);
    // "signin|nickname" for each contact, to compare lists; {"<refused>"} for no list.
    static QStringList pairs(const Result<QList<MessengerContact>>& contacts);

    bool isRunning() const override { return m_state->running; }
    Result<void> setMyProperty(int code, const QVariant& value) override;
    Result<QVariant> myProperty(int code) override;
    Result<QList<MessengerContact>> myContacts() override;

private:
    bool refuses(bool needsSignIn) const;

    std::shared_ptr<State> m_state;
};
