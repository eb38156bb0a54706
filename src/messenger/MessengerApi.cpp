#include "MessengerApi.h"

#include "core/fs/AppPaths.h"

namespace MessengerApi {

QString cacheFolder()
{
    return AppPaths::join(AppPaths::tempDir(), QStringLiteral("MessengerCache"));
}

} // namespace MessengerApi
