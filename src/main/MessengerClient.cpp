#include "MessengerClient.h"

#include "common/AppPaths.h"

MessengerClient::~MessengerClient() = default;

QString MessengerClient::cacheFolder() const
{
    return AppPaths::messengerCacheDir();
}
