#include "DesktopNotifier.h"

DesktopNotifier::~DesktopNotifier() = default;
