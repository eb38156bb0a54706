#pragma once

#include "messenger/MessengerClient.h"
#include <QTest>

// The answers of a Messenger client's calls, waited for in the event loop as the window would
// receive them; a call that gets no answer within 10 s fails as "no answer".
namespace Answer {

template <class T, class Call> Result<T> of(Call&& call)
{
    std::optional<Result<T>> answer;
    call([&answer](Result<T> result) { answer = std::move(result); });
    (void)QTest::qWaitFor([&answer] { return answer.has_value(); }, 10000);
    return answer ? *answer : Result<T>(Failure{QStringLiteral("no answer")});
}

inline Result<void> sent(MessengerClient& client, const QString& picture)
{
    return of<void>([&](auto done) { client.setDisplayPicture(picture, done); });
}
inline Result<QList<MessengerContact>> myContacts(MessengerClient& client)
{
    return of<QList<MessengerContact>>([&](auto done) { client.myContacts(done); });
}
inline QString cacheFolder(MessengerClient& client)
{
    return of<QString>([&](auto done) { client.cacheFolder(done); }).valueOr(QString());
}

} // namespace Answer
