#pragma once

#include "messenger/MessengerContact.h"

namespace standin {

// One contact, as the stand-in keeps it and as it travels over the bus.
using Contact = MessengerContact;

} // namespace standin
