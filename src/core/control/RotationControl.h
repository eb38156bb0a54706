#pragma once

#include <QObject>

// What can be asked of the running program from outside its window: the notification area's
// menu, the command line and the session bus all go through this one controller.
class RotationControl : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~RotationControl() override;

    // Brings the main window forward, from the notification area too.
    virtual void show() = 0;
};
