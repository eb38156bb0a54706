#pragma once

#include "core/Result.h"
#include "core/rotation/PictureDestination.h"

#include <QList>
#include <QObject>
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
// (property code 2) and the signed-in user's contacts.
//
// No call waits for the client: each returns at once, and its answer (the value, the client's
// refusal, or the end of the wait) is handed to `done` later, from the event loop; an answer
// known at once (no client at all) may be handed over before the call returns. An answer never
// arrives once the client object is gone.
class MessengerClient : public PictureDestination
{
    Q_OBJECT
public:
    static constexpr int DisplayPictureProperty = 2;
    template <class T> using Done = std::function<void(Result<T>)>;

    ~MessengerClient() override;

    // The client is running (whether or not somebody is signed in).
    virtual bool isRunning() const = 0;
    bool isAvailable() const override { return isRunning(); }
    // name(): which client would take a call now: "MessengerAPI", "Pidgin", or empty for none.
    // The display picture is property code 2.
    void setDisplayPicture(const QString& path, Sent sent) override;
    virtual void setMyProperty(int code, const QVariant& value, Done<void> done) = 0;
    virtual void myProperty(int code, Done<QVariant> done) = 0;
    virtual void myContacts(Done<QList<MessengerContact>> done) = 0;
    // The folder where the client caches its contacts' display pictures.
    virtual void cacheFolder(Done<QString> done);
};

// Creates a client object; fails when none can be created.
using MessengerClientFactory = std::function<Result<std::unique_ptr<MessengerClient>>()>;
