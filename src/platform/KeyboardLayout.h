#pragma once

#include <QtGlobal>

// The input layout of the user-interface thread, as far as the desktop lets a program see and
// switch it. A copy of a nickname switches away from the US English layout so that the next
// text typed into the messenger comes out in the user's other layout.
class KeyboardLayout
{
public:
    // The layout handle of US English keys with the US English language.
    static constexpr quint32 UsEnglish = 0x04090409u;
    // Returned where the current layout cannot be found out: never US English.
    static constexpr quint32 Unknown = 0;

    virtual ~KeyboardLayout() = default;

    virtual quint32 current() const = 0;
    // Moves on to the next installed layout, wrapping after the last one.
    virtual void activateNext() = 0;
};
