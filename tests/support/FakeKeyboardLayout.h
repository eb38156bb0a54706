#pragma once

#include "platform/KeyboardLayout.h"
#include <QList>

// A ring of layout handles the test sets up; counts the switches.
class FakeKeyboardLayout : public KeyboardLayout
{
public:
    QList<quint32> layouts{UsEnglish, 0x040C040Cu};
    int currentIndex = 0, switches = 0;

    quint32 current() const override { return layouts.value(currentIndex, Unknown); }
    void activateNext() override
    {
        ++switches;
        currentIndex = (currentIndex + 1) % int(layouts.size());
    }
};
