#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QMap>
#include <QObject>
#include <QVariantMap>

class Rotation;

// Each destination's name and why the pictures do not reach it: empty while they do.
using DestinationStates = QMap<QString, QString>;

// The rotation as the session bus sees it, through the interface example.dorvane.Dorvane (its
// adaptor is generated from dist/example.dorvane.Dorvane.xml): requests go to the rotation, a
// refused one comes back as an error with the reason, and every change of a property is announced
// with PropertiesChanged. Nothing here deletes or writes a file.
class ControlService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_PROPERTY(QString CurrentPicture READ currentPicture)
    Q_PROPERTY(QString Folder READ folder)
    Q_PROPERTY(bool Paused READ paused)
    Q_PROPERTY(QString Client READ client)
    Q_PROPERTY(DestinationStates Destinations READ destinations)
    Q_PROPERTY(QString LastError READ lastError)
    Q_PROPERTY(QString State READ state)
    Q_PROPERTY(QString StateReason READ stateReason)
public:
    // The error a refused request answers with.
    static const QString RefusedError;

    explicit ControlService(Rotation& rotation, QObject* parent = nullptr);

    // Exports the service on the bus and asks for Dorvane's name, without waiting for it; false
    // when there is no bus. When another program holds the name, that is written on standard
    // error, and the name is taken as soon as that program lets it go.
    bool publish(const QDBusConnection& bus = QDBusConnection::sessionBus());

    QString currentPicture() const;
    QString folder() const;
    bool paused() const;
    QString client() const;
    DestinationStates destinations() const;
    QString lastError() const;
    QString state() const;
    QString stateReason() const;

public slots:
    void Next();
    void Previous();
    void Pause();
    void Resume();
    void Show();

signals:
    void PictureChanged(const QString& path);
    // The window is asked to come forward.
    void showRequested();

private slots:
    void nameAcquired(const QString& name);

private:
    void nameHeldElsewhere();
    QVariantMap properties() const;
    void announceChanges();
    void refuseIfFailed(const QString& why);

    Rotation& m_rotation;
    QDBusConnection m_bus;
    QVariantMap m_announced;
    // Waiting in the bus's queue for the name.
    bool m_queued = false;
};
