#pragma once

// One running copy of the program per user.
class SingleInstance
{
public:
    virtual ~SingleInstance() = default;
    // True when this copy is now the one that runs (or already was).
    virtual bool acquire() = 0;
    // Asks the copy that runs to bring its window forward.
    virtual void bringRunningCopyForward() = 0;
};
