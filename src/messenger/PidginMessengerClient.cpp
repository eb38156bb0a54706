#include "PidginMessengerClient.h"

#include "core/DetachedRun.h"
#include "core/fs/RegularFile.h"
#include "core/language/Texts.h"
#include "core/picture/PictureLoader.h"
#include "messenger/PidginCalls.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QImageReader>
#include <QTimer>

#include <algorithm>

using namespace PidginCalls;

const QString PidginMessengerClient::BuddyIconPref = QStringLiteral("/pidgin/accounts/buddyicon");

namespace {

// As long as a bus call is given: a picture on a hung share fails instead of holding back the
// pictures after it.
constexpr int PictureCheckMs = 2000;

// Pidgin lists buddies in no stable order; by name, without regard to case first, so that the
// same list always comes out the same.
bool byName(const MessengerContact& a, const MessengerContact& b)
{
    const int folded = a.signinName.compare(b.signinName, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.signinName < b.signinName;
}

} // namespace

PidginMessengerClient::PidginMessengerClient(const QDBusConnection& connection, QObject* parent)
    : m_connection(connection)
{
    setParent(parent);
}

Result<void> PidginMessengerClient::checkReadablePicture(const QString& path)
{
    // A FIFO or a device in the picture's place would never end; only an ordinary file is read.
    // Read here, not by Qt's reader, which tells formats apart under a lock of its own: a read that
    // never ends there would hold back every other picture in the program.
    Result<QByteArray> read = RegularFile::readAll(path, PictureLoader::MaxDecodedBytes);
    if (!read)
        return Failure{Texts::text(Text::PictureNotRead).arg(path, read.error())};
    QBuffer content;
    content.setData(std::move(read).value());
    if (!content.open(QIODevice::ReadOnly))
        return Failure{Texts::text(Text::PictureNotRead).arg(path, content.errorString())};
    // Decoding the whole picture, not only its header, also catches a truncated file.
    QImageReader reader(&content);
    reader.setDecideFormatFromContent(true);
    if (reader.read().isNull())
        return Failure{Texts::text(Text::NotAPicture).arg(path, reader.errorString())};
    return {};
}

QString PidginMessengerClient::name() const
{
    return QStringLiteral("Pidgin");
}

void PidginMessengerClient::callString(const QString& method, const QList<QVariant>& args,
                                       Done<QString> done)
{
    call(this, m_connection, method, args, [method, done = std::move(done)](auto reply) {
        if (!reply)
            return done(Failure{reply.error()});
        if (auto text = stringOf(*reply))
            return done(*text);
        done(Failure{Texts::text(Text::PidginOddAnswer).arg(method)});
    });
}

void PidginMessengerClient::setIconPath(const QString& path, Done<void> done)
{
    call(this, m_connection, QStringLiteral("PurplePrefsSetPath"), {BuddyIconPref, path},
         [done = std::move(done)](auto reply) {
             done(reply ? Result<void>() : Result<void>(Failure{reply.error()}));
         });
}

void PidginMessengerClient::setDisplayPicture(const QString& file, Sent done)
{
    // Pidgin reads the file from its own working folder; make it the file checked here.
    const QString path = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
    // Each check runs on a thread of its own: one that never ends holds back no other.
    auto* checking = new QFutureWatcher<Result<void>>(this);
    auto* deadline = new QTimer(checking);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [checking, path, done] {
        checking->disconnect();
        checking->deleteLater();
        done(Failure{Texts::text(Text::PictureReadTooSlow).arg(path).arg(PictureCheckMs / 1000)});
    });
    connect(checking, &QFutureWatcherBase::finished, this, [this, checking, deadline, path, done] {
        deadline->stop();
        checking->deleteLater();
        if (const Result<void> readable = checking->result(); !readable)
            return done(readable);
        callString(QStringLiteral("PurplePrefsGetPath"), {BuddyIconPref},
                   [this, path, done](const Result<QString>& current) {
                       if (!current)
                           return done(Failure{current.error()});
                       // Pidgin ignores a pref set to the value it already has, so a file
                       // changed under the same name would never be taken: clear it first.
                       if (*current != path)
                           return setIconPath(path, done);
                       setIconPath(QString(), [this, path, done](const Result<void>& cleared) {
                           if (!cleared)
                               return done(cleared);
                           setIconPath(path, done);
                       });
                   });
    });
    checking->setFuture(runDetached([path] { return checkReadablePicture(path); }));
    deadline->start(PictureCheckMs);
}

void PidginMessengerClient::cacheFolder(Done<QString> done)
{
    callString(QStringLiteral("PurpleBuddyIconsGetCacheDir"), {},
               [done = std::move(done)](const Result<QString>& folder) {
                   done(folder.valueOr(QString()));
               });
}

void PidginMessengerClient::myContacts(Done<QList<MessengerContact>> done)
{
    call(this, m_connection, QStringLiteral("PurpleAccountsGetAllActive"), {},
         [this, done = std::move(done)](auto reply) {
             if (!reply)
                 return done(Failure{reply.error()});
             const auto accounts = handlesOf(*reply);
             if (!accounts)
                 return done(Failure{Texts::text(Text::PidginOddAnswer)
                                         .arg(QStringLiteral("PurpleAccountsGetAllActive"))});
             readBuddies(*accounts, done);
         });
}

void PidginMessengerClient::readBuddies(const QList<int>& accounts,
                                        const Done<QList<MessengerContact>>& done)
{
    // Every account's buddies, then every buddy's name and alias, each round sent at once: a
    // long buddy list costs a few round trips, not two per buddy.
    QList<QDBusPendingCall> calls;
    for (int account : accounts)
        calls.append(send(m_connection, QStringLiteral("PurpleFindBuddies"), {account, QString()}));
    awaitAll(this, calls, [this, calls, done] {
        QList<QList<int>> buddiesPerAccount;
        for (const QDBusPendingCall& pending : calls) {
            const QDBusMessage reply = pending.reply();
            // An account removed while we read simply has no buddies any more.
            if (reply.errorName() == InvalidHandleError) {
                buddiesPerAccount.append(QList<int>());
                continue;
            }
            if (!isReply(reply))
                return done(Failure{errorOf(reply)});
            const auto buddies = handlesOf(reply);
            if (!buddies)
                return done(Failure{Texts::text(Text::PidginOddBuddyList)});
            buddiesPerAccount.append(*buddies);
        }
        readNames(buddiesPerAccount, done);
    });
}

void PidginMessengerClient::readNames(const QList<QList<int>>& buddiesPerAccount,
                                      const Done<QList<MessengerContact>>& done)
{
    QList<QDBusPendingCall> calls;
    for (const QList<int>& buddies : buddiesPerAccount) {
        for (int buddy : buddies) {
            calls.append(send(m_connection, QStringLiteral("PurpleBuddyGetName"), {buddy}));
            calls.append(send(m_connection, QStringLiteral("PurpleBuddyGetAlias"), {buddy}));
        }
    }
    awaitAll(this, calls, [calls, buddiesPerAccount, done] {
        QList<MessengerContact> contacts;
        qsizetype next = 0;
        for (const QList<int>& buddies : buddiesPerAccount) {
            QList<MessengerContact> ofAccount;
            for (qsizetype i = 0; i < buddies.size(); ++i, next += 2) {
                const QDBusMessage nameReply = calls.at(next).reply();
                const QDBusMessage aliasReply = calls.at(next + 1).reply();
                // A buddy removed while we read is left out.
                if (nameReply.errorName() == InvalidHandleError ||
                    aliasReply.errorName() == InvalidHandleError)
                    continue;
                for (const QDBusMessage& reply : {nameReply, aliasReply}) {
                    if (!isReply(reply))
                        return done(Failure{errorOf(reply)});
                }
                const auto name = stringOf(nameReply);
                const auto alias = stringOf(aliasReply);
                if (!name || !alias)
                    return done(Failure{Texts::text(Text::PidginOddBuddyName)});
                ofAccount.append(MessengerContact{*name, *alias});
            }
            std::stable_sort(ofAccount.begin(), ofAccount.end(), byName);
            contacts += ofAccount;
        }
        done(contacts);
    });
}
