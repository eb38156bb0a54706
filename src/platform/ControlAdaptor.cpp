#include "ControlAdaptor.h"

#include "core/control/RotationControl.h"

ControlAdaptor::ControlAdaptor(RotationControl* control)
    : QDBusAbstractAdaptor(control), m_control(control)
{
    connect(control, &RotationControl::pictureChanged, this, &ControlAdaptor::PictureChanged);
}

QString ControlAdaptor::currentPicture() const
{
    return m_control->currentPicture();
}

QString ControlAdaptor::folder() const
{
    return m_control->folder();
}

bool ControlAdaptor::paused() const
{
    return m_control->paused();
}

QString ControlAdaptor::client() const
{
    return m_control->client();
}

QString ControlAdaptor::lastError() const
{
    return m_control->lastError();
}

void ControlAdaptor::Next()
{
    m_control->next();
}

void ControlAdaptor::Pause()
{
    m_control->pause();
}

void ControlAdaptor::Resume()
{
    m_control->resume();
}

void ControlAdaptor::Show()
{
    m_control->show();
}
