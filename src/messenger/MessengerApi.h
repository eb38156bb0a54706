#pragma once

#include <QString>

// The MessengerAPI client's names on the session bus, as dist/MessengerAPI.IMessenger.xml gives
// them, and what the program and the stand-in agree on beside them.
namespace MessengerApi {

inline const QString ServiceName = QStringLiteral(DORVANE_MESSENGERAPI_SERVICE);
inline const QString ObjectPath = QStringLiteral(DORVANE_MESSENGERAPI_PATH);
inline const QString InterfaceName = QStringLiteral(DORVANE_MESSENGERAPI_INTERFACE);

// The property code of the display picture's path.
constexpr int DisplayPictureCode = 2;

// TEMP/MessengerCache: where the client caches its contacts' display pictures.
QString cacheFolder();

} // namespace MessengerApi
