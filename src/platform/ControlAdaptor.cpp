#include "ControlAdaptor.h"

#include "core/control/RotationControl.h"

ControlAdaptor::ControlAdaptor(RotationControl* control)
    : QDBusAbstractAdaptor(control), m_control(control)
{
}

void ControlAdaptor::Show()
{
    m_control->show();
}
