#include "KeyboardLayout.h"

KeyboardLayout::~KeyboardLayout() = default;
