#include "FakeMessengerClient.h"

#include <QPointer>

MessengerClientFactory FakeMessengerClient::factory(const std::shared_ptr<State>& state)
{
    return [state]() -> Result<std::unique_ptr<MessengerClient>> {
        if (!state->canCreate)
            return Failure{QStringLiteral("no session bus")};
        ++state->created;
        return std::unique_ptr<MessengerClient>(std::make_unique<FakeMessengerClient>(state));
    };
}

QStringList FakeMessengerClient::pairs(const Result<QList<MessengerContact>>& contacts)
{
    if (!contacts)
        return {QStringLiteral("<refused>")};
    QStringList texts;
    for (const MessengerContact& contact : *contacts)
        texts.append(contact.signinName + QLatin1Char('|') + contact.friendlyName);
    return texts;
}

template <class T> void FakeMessengerClient::answer(Done<T> done, Result<T> result)
{
    if (!m_state->holdAnswers)
        return done(std::move(result));
    // As a real client's: no answer once the client is gone.
    m_state->held.append([client = QPointer(this), done, result] {
        if (client)
            done(result);
    });
}

bool FakeMessengerClient::refuses(bool needsSignIn) const
{
    return !m_state->running || (needsSignIn && !m_state->signedIn);
}

void FakeMessengerClient::setMyProperty(int code, const QVariant& value, Done<void> done)
{
    if (refuses(true) || code != DisplayPictureProperty)
        return answer<void>(done, Failure{QStringLiteral("refused")});
    m_state->sentPictures.append(value.toString());
    answer<void>(done, {});
}

void FakeMessengerClient::myProperty(int code, Done<QVariant> done)
{
    if (refuses(false) || code != DisplayPictureProperty)
        return answer<QVariant>(done, Failure{QStringLiteral("refused")});
    answer<QVariant>(done, QVariant(m_state->sentPictures.value(m_state->sentPictures.size() - 1)));
}

void FakeMessengerClient::myContacts(Done<QList<MessengerContact>> done)
{
    if (refuses(true))
        return answer<QList<MessengerContact>>(done,
                                               Failure{QStringLiteral("nobody is signed in")});
    answer<QList<MessengerContact>>(done, m_state->contacts);
}
