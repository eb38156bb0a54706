#include "MessengerClient.h"

#include "core/fs/AppPaths.h"

MessengerClient::~MessengerClient() = default;

QString MessengerClient::cacheFolder() const
{
    return AppPaths::messengerCacheDir();
}
