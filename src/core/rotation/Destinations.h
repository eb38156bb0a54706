#pragma once

#include "core/Result.h"
#include "core/rotation/OutageNotices.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class PictureDestination;

// Every place the rotation's pictures go: the session's Messenger client and each of the user's
// own accounts. A picture goes to each one that takes pictures now, and each has its own answer
// to wait for: a slow or failed destination never holds back another, and while one has not
// answered, only the newest picture waits for it. Each keeps its own last failure, outage notes
// and line on standard error.
class Destinations : public QObject
{
    Q_OBJECT
public:
    struct Picture
    {
        quint64 id = 0; // later pictures have larger ids
        QString path;
        bool revisit = false; // a picture of the history, sent again
    };
    struct Status
    {
        QString name;
        QString failure; // why the pictures do not reach it; empty while they do
    };
    // A destination took the picture, or failed it.
    using Answered = std::function<void(const Picture&, bool taken)>;

    Destinations(std::chrono::milliseconds outageNoticeAfter, OutageNotices::Clock clock,
                 Answered answered, QObject* parent = nullptr);
    ~Destinations() override;

    // The session's Messenger client, which stays first; null for none.
    void setMessengerClient(PictureDestination* client);
    PictureDestination* messengerClient() const;
    // Another destination; it leaves when removed or destroyed.
    void add(PictureDestination* destination);
    void remove(PictureDestination* destination);

    // Some destination takes pictures now.
    bool anyAvailable() const;
    // Sends the picture to every destination that takes pictures now, or to `only` alone.
    void send(const Picture& picture, PictureDestination* only = nullptr);

    // Each destination and how it fares, the Messenger client first.
    QList<Status> statuses() const;
    // Why the last picture did not reach the destinations it failed at; empty when it reached
    // every one. Named by destination where there is more than one.
    QString lastError() const;

    // A failure text as it is shown and written: at most this many characters.
    static constexpr int MaxFailureLength = 300;
    static QString shortened(const QString& text);

signals:
    // A destination now takes pictures, or no longer does.
    void availabilityChanged(PictureDestination* destination, bool available);
    // A destination told of a change: it came or went, or why it takes no pictures changed.
    void statusChanged();
    // Pictures have failed to reach `destination` for a while (`outage`), or reach it again; the
    // destination's name, empty for a Messenger client that is not there.
    void outageNoticed(bool outage, const QString& why, const QString& destination);

private:
    struct Outlet;
    Outlet* outlet(const PictureDestination* destination) const;
    void watch(Outlet& outlet);
    void deliver(Outlet& outlet, const Picture& picture);
    void answer(const PictureDestination* destination, const Picture& picture,
                const Result<void>& sent);
    void log(Outlet& outlet, const QString& why);
    QString nameOf(const Outlet& outlet) const;

    std::chrono::milliseconds m_outageNoticeAfter;
    OutageNotices::Clock m_clock;
    Answered m_answered;
    // The first is the Messenger client's place, empty while there is none.
    std::vector<std::unique_ptr<Outlet>> m_outlets;
};
