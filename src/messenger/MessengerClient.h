#pragma once

#include "core/Result.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>

struct MessengerContact
{
    QString signinName;
    QString friendlyName;
};

// The Messenger client as the program uses it: its presence, the user's display picture
// (property code 2) and the signed-in user's contacts. Every call may fail, and then says why.
class MessengerClient
{
public:
    static constexpr int DisplayPictureProperty = 2;

    virtual ~MessengerClient();

    // The client is running (whether or not somebody is signed in).
    virtual bool isRunning() const = 0;
    virtual Result<void> setMyProperty(int code, const QVariant& value) = 0;
    virtual Result<QVariant> myProperty(int code) = 0;
    virtual Result<QList<MessengerContact>> myContacts() = 0;
    // The folder where the client caches its contacts' display pictures.
    virtual QString cacheFolder() const;
};

// Creates a client object; fails when none can be created.
using MessengerClientFactory = std::function<Result<std::unique_ptr<MessengerClient>>()>;
