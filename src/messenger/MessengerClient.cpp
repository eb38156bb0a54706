#include "MessengerClient.h"

#include "core/fs/AppPaths.h"

MessengerClient::~MessengerClient() = default;

void MessengerClient::setDisplayPicture(const QString& path, Sent sent)
{
    setMyProperty(DisplayPictureProperty, path, std::move(sent));
}

// Taken by value like every callback of the interface, which the clients keep until they answer.
void MessengerClient::cacheFolder(Done<QString> done) // NOLINT(performance-unnecessary-value-param)
{
    done(AppPaths::messengerCacheDir());
}
