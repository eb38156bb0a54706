#include "Browser.h"

Browser::~Browser() = default;
