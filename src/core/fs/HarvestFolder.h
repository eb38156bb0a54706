#pragma once

#include "core/Result.h"

#include <QStringList>

// The folder the cached pictures are copied into, as dvn2.jpg, dvn3.jpg, ..., lives in the
// temporary folder, which other users may share. Only a real folder of the user's own is used: it
// is created readable by its owner only, one of the user's own that others may write is closed to
// them first, and a symbolic link or a folder of another user in its place is refused, so that
// nobody else can read the copies or redirect them elsewhere.
class HarvestFolder
{
public:
    // Creates the folder (mode 0700) when it is missing and checks it; fails, with the reason,
    // when it cannot be used.
    static Result<void> prepare(const QString& path);
    // Checks the folder without creating it: true when it can be used, false when it is missing;
    // fails when something is there that must not be used.
    static Result<bool> check(const QString& path);
    // The folder is there and can be used.
    static bool isReady(const QString& path);
    // Something of another user's has the folder's name.
    static bool belongsToAnotherUser(const QString& path);

    // The name of the copy in the given place: "dvn<number>.jpg".
    static QString copyName(int number);
    // Removes the copies an earlier harvest left, and nothing else; gives back, one line each,
    // those that could not be removed.
    static QStringList removeCopies(const QString& path);
};
