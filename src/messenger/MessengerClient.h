#pragma once

#include "core/Result.h"
#include "core/rotation/PictureDestination.h"
#include "messenger/MessengerContact.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

// The Messenger client as the program uses it: the user's display picture (setDisplayPicture),
// the signed-in user's contacts and the folder of their cached pictures. Each client maps these
// onto its own calls.
//
// No call waits for the client: each returns at once, and its answer (the value, the client's
// refusal, or the end of the wait) is handed to `done` later, from the event loop; an answer
// known at once (no client at all) may be handed over before the call returns. An answer never
// arrives once the client object is gone.
class MessengerClient : public PictureDestination
{
    Q_OBJECT
public:
    template <class T> using Done = std::function<void(Result<T>)>;

    ~MessengerClient() override;

    // A client reached on its own takes every call (one whose program is not there refuses it);
    // which program is there is the session client's to follow.
    bool isAvailable() const override { return true; }
    virtual void myContacts(Done<QList<MessengerContact>> done) = 0;
    // The folder where the client caches its contacts' display pictures.
    virtual void cacheFolder(Done<QString> done) = 0;
};

// Creates a client object; fails when none can be created.
using MessengerClientFactory = std::function<Result<std::unique_ptr<MessengerClient>>()>;
