#include "FakeMessengerClient.h"

MessengerClientFactory FakeMessengerClient::factory(const std::shared_ptr<State>& state)
{
    return [state](QString* error) -> std::unique_ptr<MessengerClient> {
        if (!state->canCreate) {
            if (error)
                *error = QStringLiteral("no session bus");
            return nullptr;
        }
        ++state->created;
        return std::make_unique<FakeMessengerClient>(state);
    };
}

QStringList FakeMessengerClient::pairs(const std::optional<QList<MessengerContact>>& contacts)
{
    if (!contacts)
        return {QStringLiteral("<refused>")};
    QStringList texts;
    for (const MessengerContact& contact : *contacts)
        texts.append(contact.signinName + QLatin1Char('|') + contact.friendlyName);
    return texts;
}

bool FakeMessengerClient::refuses(bool needsSignIn, QString* error) const
{
    if (m_state->running && (m_state->signedIn || !needsSignIn))
        return false;
    if (error)
        *error = QStringLiteral("refused");
    return true;
}

bool FakeMessengerClient::setMyProperty(int code, const QVariant& value, QString* error)
{
    if (refuses(true, error) || code != DisplayPictureProperty)
        return false;
    m_state->sentPictures.append(value.toString());
    return true;
}

std::optional<QVariant> FakeMessengerClient::myProperty(int code, QString* error)
{
    if (refuses(false, error) || code != DisplayPictureProperty)
        return std::nullopt;
    return QVariant(m_state->sentPictures.value(m_state->sentPictures.size() - 1));
}

std::optional<QList<MessengerContact>> FakeMessengerClient::myContacts(QString* error)
{
    ++m_state->contactReads;
    if (refuses(true, error))
        return std::nullopt;
    return m_state->contacts;
}
