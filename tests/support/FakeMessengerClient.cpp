#include "FakeMessengerClient.h"

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

bool FakeMessengerClient::refuses(bool needsSignIn) const
{
    return !m_state->running || (needsSignIn && !m_state->signedIn);
}

Result<void> FakeMessengerClient::setMyProperty(int code, const QVariant& value)
{
    if (refuses(true) || code != DisplayPictureProperty)
        return Failure{QStringLiteral("refused")};
    m_state->sentPictures.append(value.toString());
    return {};
}

Result<QVariant> FakeMessengerClient::myProperty(int code)
{
    if (refuses(false) || code != DisplayPictureProperty)
        return Failure{QStringLiteral("refused")};
    return QVariant(m_state->sentPictures.value(m_state->sentPictures.size() - 1));
}

Result<QList<MessengerContact>> FakeMessengerClient::myContacts()
{
    ++m_state->contactReads;
    if (refuses(true))
        return Failure{QStringLiteral("nobody is signed in")};
    return m_state->contacts;
}
