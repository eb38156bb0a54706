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
    static QStringList pairs(const std::optional<QList<MessengerContact>>& contacts);

    bool isRunning() const override { return m_state->running; }
    bool setMyProperty(int code, const QVariant& value, QString* error) override;
    std::optional<QVariant> myProperty(int code, QString* error) override;
    std::optional<QList<MessengerContact>> myContacts(QString* error) override;

private:
    bool refuses(bool needsSignIn, QString* error) const;

    std::shared_ptr<State> m_state;
};
