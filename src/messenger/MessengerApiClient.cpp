#include "MessengerApiClient.h"

#include "core/language/Texts.h"

#include "messenger/BusFailure.h"
#include "messenger/MessengerApi.h"
#include "messenger/MessengerApiProxy.h"

#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

MessengerApiClient::MessengerApiClient(const QDBusConnection& connection, QObject* parent)
    : m_proxy(new MessengerApiProxy(MessengerApi::ServiceName, MessengerApi::ObjectPath, connection,
                                    this))
{
    setParent(parent);
    MessengerContact::registerMetaTypes();
    m_proxy->setTimeout(CallTimeoutMs);
}

QString MessengerApiClient::name() const
{
    return QStringLiteral("MessengerAPI");
}

void MessengerApiClient::watch(const QDBusPendingCall& call,
                               std::function<void(Result<QDBusMessage>)> answered)
{
    // A call to a name nobody owns fails at once, like a refused call. The watcher is the
    // client's own, so that no answer arrives once the client is gone.
    auto* watcher = new QDBusPendingCallWatcher(call, this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, answered = std::move(answered)] {
                watcher->deleteLater();
                const QDBusMessage reply = watcher->reply();
                if (reply.type() != QDBusMessage::ReplyMessage)
                    answered(Failure{BusFailure::describe(
                        reply, Texts::text(Text::TheMessengerClient), CallTimeoutMs)});
                else
                    answered(reply);
            });
}

void MessengerApiClient::setDisplayPicture(const QString& path, Sent sent)
{
    watch(m_proxy->SetMyProperty(MessengerApi::DisplayPictureCode, QDBusVariant(path)),
          [sent = std::move(sent)](const Result<QDBusMessage>& reply) {
              sent(reply ? Result<void>() : Result<void>(Failure{reply.error()}));
          });
}

void MessengerApiClient::myContacts(Done<QList<MessengerContact>> done)
{
    watch(m_proxy->MyContacts(), [this, done = std::move(done)](const Result<QDBusMessage>& reply) {
        if (!reply)
            return done(Failure{reply.error()});
        // A long list takes a while to take apart; the window goes on meanwhile. The
        // proxy has taken only a reply of the list's signature.
        auto* reading = new QFutureWatcher<QList<MessengerContact>>(this);
        connect(reading, &QFutureWatcherBase::finished, this, [reading, done] {
            reading->deleteLater();
            done(reading->result());
        });
        reading->setFuture(QtConcurrent::run([contacts = reply->arguments().first()] {
            return qdbus_cast<QList<MessengerContact>>(contacts);
        }));
    });
}

// Taken by value like every callback of the interface, which the clients keep until they answer.
void MessengerApiClient::cacheFolder(
    Done<QString> done) // NOLINT(performance-unnecessary-value-param)
{
    done(MessengerApi::cacheFolder());
}
