#include "MessengerClient.h"

MessengerClient::~MessengerClient() = default;
