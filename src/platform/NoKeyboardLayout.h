#pragma once

#include "platform/KeyboardLayout.h"

// For desktops that give a program no hold on the input layout (Wayland, headless): it reads
// as unknown, so nothing ever switches.
class NoKeyboardLayout : public KeyboardLayout
{
public:
    quint32 current() const override { return Unknown; }
    void activateNext() override {}
};
