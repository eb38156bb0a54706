#pragma once

#include <QObject>
#include <QString>

// What can be asked of the running program from outside its window: the notification area's
// menu, the command line and the session bus all go through this one controller.
class RotationControl : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~RotationControl() override;

    // The picture a tick would send now, sent at once; the timer starts its interval again.
    virtual void next() = 0;
    // The timer stops until resume(); the stored choice of rotating stays as it is, so that a
    // restart goes by the stored settings.
    virtual void pause() = 0;
    virtual void resume() = 0;
    // Brings the main window forward, from the notification area too.
    virtual void show() = 0;

    // The picture the client took last (full path); empty before the first.
    virtual QString currentPicture() const = 0;
    virtual QString folder() const = 0;
    virtual bool paused() const = 0;
    // The client that receives the pictures: "MessengerAPI", "Pidgin", or empty for none.
    virtual QString client() const = 0;
    // Why the last picture did not reach the client; empty once one did.
    virtual QString lastError() const = 0;

signals:
    void pictureChanged(const QString& path);
    // Any of the values above but the picture changed.
    void stateChanged();
};
