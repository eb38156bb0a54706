#pragma once

#include "core/Result.h"

#include <QObject>
#include <QString>

#include <functional>

// Where the passwords of the user's accounts are kept: the desktop's keyring. Never a file of
// the program's. Every call returns at once and answers later from the event loop.
class PasswordStore : public QObject
{
    Q_OBJECT
public:
    struct Lookup
    {
        enum class Outcome { Found, NotStored, NoKeyring, Failed };
        Outcome outcome = Outcome::Failed;
        QString password; // when Found
        QString error;    // when NoKeyring or Failed, in the user's words
    };

    using QObject::QObject;

    virtual void read(const QString& account, std::function<void(Lookup)> done) = 0;
    // Fails when the keyring cannot keep it (none answers, or it refused).
    virtual void write(const QString& account, const QString& password,
                       std::function<void(Result<void>)> done) = 0;
    // Succeeds when nothing is stored for the account (any more).
    virtual void remove(const QString& account, std::function<void(Result<void>)> done) = 0;
};
