#include "Avatar.h"

// Placeholder until avatars land.

Result<Avatar> Avatar::fromFile(const QString&)
{
    return Failure{QStringLiteral("not yet")};
}

Result<Avatar> Avatar::fromImage(const QImage&)
{
    return Failure{QStringLiteral("not yet")};
}
