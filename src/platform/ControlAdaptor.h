#pragma once

#include <QDBusAbstractAdaptor>

class RotationControl;

// The controller's methods as the bus interface example.dorvane.Dorvane has them.
class ControlAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.dorvane.Dorvane")
public:
    explicit ControlAdaptor(RotationControl* control);

public slots:
    void Show();

private:
    RotationControl* m_control;
};
