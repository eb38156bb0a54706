#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

struct MessengerContact
{
    QString signinName;
    QString friendlyName;
};

// The Messenger client as the program uses it: its presence, the user's display picture
// (property code 2) and the signed-in user's contacts. Every call may fail; the error text then
// says why.
class MessengerClient
{
public:
    static constexpr int DisplayPictureProperty = 2;

    virtual ~MessengerClient();

    // The client is running (whether or not somebody is signed in).
    virtual bool isRunning() const = 0;
    virtual bool setMyProperty(int code, const QVariant& value, QString* error = nullptr) = 0;
    virtual std::optional<QVariant> myProperty(int code, QString* error = nullptr) = 0;
    virtual std::optional<QList<MessengerContact>> myContacts(QString* error = nullptr) = 0;
    // The folder where the client caches its contacts' display pictures.
    virtual QString cacheFolder() const;
};

// Creates a client object; nullptr (with the reason) when none can be created.
using MessengerClientFactory = std::function<std::unique_ptr<MessengerClient>(QString* error)>;
