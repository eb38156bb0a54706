#include "MessengerClient.h"

#include "core/fs/AppPaths.h"

MessengerClient::~MessengerClient() = default;

void MessengerClient::cacheFolder(Done<QString> done)
{
    done(AppPaths::messengerCacheDir());
}
