#pragma once

#include "core/control/RotationControl.h"

class NotificationArea;
class PictureRotation;

// The controller behind the notification area's menu, the command line and the session bus, on
// the main window's rotation and lifecycle.
class RotationController : public RotationControl
{
    Q_OBJECT
public:
    RotationController(PictureRotation* rotation, NotificationArea* notificationArea,
                       QObject* parent = nullptr);

    void show() override;

private:
    PictureRotation* m_rotation;
    NotificationArea* m_notificationArea;
};
