#pragma once

#include "platform/KeyboardLayout.h"

#include <QString>
#include <QStringList>

typedef struct _XDisplay Display;

// The XKB layout groups of an X11 display. The handle 0x04090409 (US English) stands for the
// first group while the first configured layout is "us"; any other state reads as a handle of
// its own (0x10000 + the group number), so only that one state triggers a switch.
class X11KeyboardLayout : public KeyboardLayout
{
public:
    static constexpr quint32 OtherGroupBase = 0x10000u;

    // The display is not owned: it is the one the application's windows live on.
    explicit X11KeyboardLayout(Display* display);

    quint32 current() const override;
    void activateNext() override;

    // The layouts configured on the display, e.g. {"us", "fr"}; empty when unknown.
    QStringList layouts() const;
    // The handle for a locked group given the configured layouts.
    static quint32 handleFor(int group, const QStringList& layouts);

private:
    int lockedGroup() const;
    int groupCount() const;

    Display* m_display;
};
