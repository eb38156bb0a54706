#pragma once

#include <QDBusAbstractAdaptor>

class RotationControl;

// The controller as the bus interface example.dorvane.Dorvane has it: steering and read-only
// state, nothing that deletes or writes a file.
class ControlAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "example.dorvane.Dorvane")
    Q_PROPERTY(QString CurrentPicture READ currentPicture)
    Q_PROPERTY(QString Folder READ folder)
    Q_PROPERTY(bool Paused READ paused)
    Q_PROPERTY(QString Client READ client)
    Q_PROPERTY(QString LastError READ lastError)
public:
    explicit ControlAdaptor(RotationControl* control);

    QString currentPicture() const;
    QString folder() const;
    bool paused() const;
    QString client() const;
    QString lastError() const;

public slots:
    void Next();
    void Pause();
    void Resume();
    void Show();

signals:
    void PictureChanged(const QString& path);

private:
    RotationControl* m_control;
};
