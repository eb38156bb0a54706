#pragma once

#include "platform/KeyboardLayout.h"

#include <memory>

// The keyboard layout of the platform the application runs on: the XKB layout groups on X11, a
// layout that never switches elsewhere (Wayland, headless).
std::unique_ptr<KeyboardLayout> createKeyboardLayout();
