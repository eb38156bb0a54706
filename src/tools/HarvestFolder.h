#pragma once

#include <QString>

// The folder the cached pictures are copied into lives in the temporary folder, which other
// users may share. Only a real folder of the user's own is used: it is created readable by its
// owner only, and a symbolic link or a folder of another user in its place is refused, so that
// nobody else can read the copies or redirect them elsewhere.
class HarvestFolder
{
public:
    enum class State { Ready, Missing, Refused };

    // Creates the folder (mode 0700) when it is missing and checks it. False, with the reason,
    // when it cannot be used.
    static bool prepare(const QString& path, QString* error = nullptr);
    // Checks the folder without creating it.
    static State check(const QString& path, QString* error = nullptr);
};
