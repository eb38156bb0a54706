#include "RotationController.h"

#include "ui/main/NotificationArea.h"
#include "ui/main/PictureRotation.h"

RotationController::RotationController(PictureRotation* rotation,
                                       NotificationArea* notificationArea, QObject* parent)
    : RotationControl(parent), m_rotation(rotation), m_notificationArea(notificationArea)
{
}

void RotationController::show()
{
    m_notificationArea->mnuopen_Click();
}
