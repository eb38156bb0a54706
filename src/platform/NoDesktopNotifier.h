#pragma once

#include "platform/DesktopNotifier.h"

// For runs that tell the desktop nothing (the benchmarks, most tests).
class NoDesktopNotifier : public DesktopNotifier
{
public:
    void notify(const QString&, const QString&) override {}
};
