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

bool FakeMessengerClient::setMyProperty(int code, const QVariant& value, QString* error)
{
    if (!m_state->running || !m_state->signedIn || code != DisplayPictureProperty) {
        if (error)
            *error = QStringLiteral("refused");
        return false;
    }
    m_state->sentPictures.append(value.toString());
    m_state->currentPicture = value.toString();
    return true;
}

std::optional<QVariant> FakeMessengerClient::myProperty(int code, QString* error)
{
    if (!m_state->running || code != DisplayPictureProperty) {
        if (error)
            *error = QStringLiteral("refused");
        return std::nullopt;
    }
    return QVariant(m_state->currentPicture);
}

std::optional<QList<MessengerContact>> FakeMessengerClient::myContacts(QString* error)
{
    ++m_state->contactReads;
    if (!m_state->running || !m_state->signedIn) {
        if (error)
            *error = QStringLiteral("nobody is signed in");
        return std::nullopt;
    }
    return m_state->contacts;
}
