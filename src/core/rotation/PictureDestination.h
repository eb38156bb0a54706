#pragma once

#include "core/Result.h"

#include <QObject>
#include <QString>

#include <functional>

// Where the rotation's pictures go: what the rotation needs of a Messenger client, so that the
// rotation never depends on any client in particular.
//
// A request returns at once; its answer comes later from the event loop (or at once when it is
// known at once), and never once the destination is gone.
class PictureDestination : public QObject
{
    Q_OBJECT
public:
    using Sent = std::function<void(Result<void>)>;

    using QObject::QObject;

    // Somebody takes pictures now. Known without asking anyone: availabilityChanged() tells when
    // it changes, and when why it takes none changes.
    virtual bool isAvailable() const = 0;
    // Who takes them ("MessengerAPI", "Pidgin"); empty when nobody does.
    virtual QString name() const = 0;
    // Why it takes no pictures now, in the user's words; empty while it takes them or when
    // there is nothing more to say than that nobody takes them.
    virtual QString unavailableReason() const { return {}; }
    // Makes the picture file the user's display picture.
    virtual void setDisplayPicture(const QString& path, Sent sent) = 0;

signals:
    void availabilityChanged();
};
