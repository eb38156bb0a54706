#include "Rotation.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FolderExists.h"
#include "core/fs/FolderWatch.h"
#include "core/language/Texts.h"
#include "core/rotation/PictureDestination.h"
#include "core/rotation/RotationTimer.h"
#include "core/settings/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

const QString Rotation::PicturePattern = QStringLiteral("*.jpg;*.gif;*.bmp;*.png;*.jpge");

using Entry = Settings::Entry;

Rotation::Rotation(Settings& settings, std::chrono::milliseconds outageNoticeAfter,
                   OutageNotices::Clock clock, QObject* parent)
    : QObject(parent), m_settings(settings),
      m_destinations(new Destinations(
          outageNoticeAfter, std::move(clock),
          [this](const Destinations::Picture& picture, bool taken) { answered(picture, taken); },
          this)),
      m_pictures(PicturePattern), m_timer(new RotationTimer(this)), m_watch(new FolderWatch(this))
{
    connect(m_destinations, &Destinations::availabilityChanged, this,
            &Rotation::destinationChanged);
    connect(m_destinations, &Destinations::statusChanged, this, &Rotation::stateChanged);
    connect(m_destinations, &Destinations::outageNoticed, this, &Rotation::outageNoticed);
    connect(m_timer, &RotationTimer::tick, this, &Rotation::TimerTick);
    connect(m_watch, &FolderWatch::changed, this, [this] { relist(true); });
    connect(m_watch, &FolderWatch::watchingChanged, this, &Rotation::stateChanged);
}

Rotation::~Rotation() = default;

void Rotation::setDestination(PictureDestination* destination)
{
    m_destinations->setMessengerClient(destination);
    m_wasAvailable = m_destinations->anyAvailable();
    emit stateChanged();
}

void Rotation::addDestination(PictureDestination* destination)
{
    m_destinations->add(destination);
    emit stateChanged();
}

void Rotation::removeDestination(PictureDestination* destination)
{
    m_destinations->remove(destination);
    emit stateChanged();
}

bool Rotation::isFollowingFolder() const
{
    return m_folder.isEmpty() || m_watch->isWatching();
}

QString Rotation::client() const
{
    const PictureDestination* messenger = m_destinations->messengerClient();
    return messenger && messenger->isAvailable() ? messenger->name() : QString();
}

// ---------------------------------------------------------------------------------------------
// The folder and its pictures

void Rotation::setFolder(const QString& folder)
{
    m_folder = folder;
    emit folderChanged(folder);
    relist(false);
    m_watch->watch(folder);
}

void Rotation::fillPictureList()
{
    relist(false);
    m_watch->watch(m_folder);
}

void Rotation::relist(bool keepSelection)
{
    const QString selected = keepSelection ? m_pictures.name(m_position) : QString();
    const bool wasEmpty = count() == 0;
    m_folderExists = FolderExists(m_folder);
    FileList files(PicturePattern);
    files.setPath(m_folder);
    m_pictures = files;
    m_position = selected.isEmpty() ? -1 : static_cast<int>(m_pictures.names().indexOf(selected));
    emit listingChanged();
    emit stateChanged();
    // Pictures came into a folder that had none: the rotation starts as Apply would start it.
    if (keepSelection && wasEmpty && canRun())
        startFromFirstPicture();
}

QString Rotation::picturePath(const QString& name) const
{
    return AppPaths::join(m_folder, name);
}

void Rotation::select(int row)
{
    m_position = row >= 0 && row < count() ? row : -1;
    emit positionChanged(m_position);
}

// ---------------------------------------------------------------------------------------------
// Commands

Rotation::Applied Rotation::apply(bool on, qint64 intervalMs)
{
    m_intervalMs = intervalMs;
    m_on = on;
    if (!on) {
        m_timer->stop();
        emit stateChanged();
        return Applied::Stopped;
    }
    // Apply ends a pause. Without pictures or a destination a running timer runs on; a
    // destination that comes starts it.
    setPaused(false);
    if (count() == 0 || !m_destinations->anyAvailable()) {
        emit stateChanged();
        return Applied::Unchanged;
    }
    startFromFirstPicture();
    return Applied::Started;
}

void Rotation::startFromFirstPicture()
{
    startTimer();
    select(0);
    send(picturePath(m_pictures.name(0)), false);
}

void Rotation::startTimer()
{
    m_timer->start(m_intervalMs);
    emit stateChanged();
}

bool Rotation::canRun() const
{
    return m_on && !m_paused && m_folderExists && count() > 0 && m_destinations->anyAvailable();
}

void Rotation::TimerTick()
{
    // The mode is read afresh at every tick; only exactly 1 means random.
    if (m_settings.readNumber(Entry::Random) == 1)
        starterrand();
    else
        starter();
}

void Rotation::starter()
{
    const int row = PictureChooser::next(m_position, count());
    if (row < 0)
        return;
    select(row);
    send(picturePath(m_pictures.name(row)), false);
}

void Rotation::starterrand()
{
    const int row = m_chooser.random(count());
    if (row < 0)
        return;
    select(row);
    send(picturePath(m_pictures.name(row)), false);
}

void Rotation::sendSelected()
{
    if (m_position >= 0)
        send(picturePath(m_pictures.name(m_position)), false);
}

void Rotation::next()
{
    TimerTick();
    if (m_timer->isActive())
        startTimer();
}

Result<void> Rotation::previous()
{
    if (!m_history.canGoBack())
        return Failure{Texts::text(Text::OldestPicture)};
    const QString path = m_history.back();
    const QFileInfo file(path);
    if (QDir(file.path()) == QDir(m_folder)) {
        if (const auto row = m_pictures.names().indexOf(file.fileName()); row >= 0)
            select(static_cast<int>(row));
    }
    send(path, true);
    if (m_timer->isActive())
        startTimer();
    emit stateChanged();
    return {};
}

Result<void> Rotation::pause()
{
    if (!m_on)
        return Failure{Texts::text(Text::RotationOffTickFirst)};
    m_timer->stop();
    setPaused(true);
    return {};
}

Result<void> Rotation::resume()
{
    if (!m_on)
        return Failure{Texts::text(Text::RotationOffTickFirst)};
    setPaused(false);
    if (canRun())
        startTimer();
    return {};
}

void Rotation::setPaused(bool paused)
{
    if (std::exchange(m_paused, paused) != paused)
        emit stateChanged();
}

Result<void> Rotation::deletePicture(const QString& name)
{
    const auto row = static_cast<int>(m_pictures.names().indexOf(name));
    if (row < 0)
        return Failure{Texts::text(Text::NotInList).arg(name)};
    const bool wasRunning = m_timer->isActive();
    m_timer->stop();
    QFile file(picturePath(name));
    if (!file.remove()) {
        // The list stays as it was and the rotation goes on.
        if (wasRunning)
            startTimer();
        return Failure{Texts::text(Text::NotDeleted)
                           .arg(QDir::toNativeSeparators(file.fileName()), file.errorString())};
    }
    m_pictures.removeAt(row);
    m_position = -1;
    emit listingChanged();
    emit stateChanged();
    if (count() == 0)
        return {};
    if (m_on && !m_paused)
        startTimer();
    select(0);
    send(picturePath(m_pictures.name(0)), false);
    return {};
}

// ---------------------------------------------------------------------------------------------
// The destinations

void Rotation::destinationChanged(PictureDestination* destination, bool available)
{
    const bool anyAvailable = m_destinations->anyAvailable();
    const bool came = !std::exchange(m_wasAvailable, anyAvailable) && anyAvailable;
    emit stateChanged();
    // A destination that comes after start-up, or after an outage, starts the rotation as Apply
    // would.
    if (came && canRun()) {
        startFromFirstPicture();
        if (const Result<void> stored = m_settings.write(Entry::Control, QStringLiteral("1"));
            !stored)
            qWarning("Dorvane: %s", qPrintable(stored.error()));
    } else if (available && m_timer->isActive() && !m_lastPath.isEmpty()) {
        // One more while the others take pictures: it catches up with the latest one, taken
        // or still on its way to a slow one.
        m_destinations->send({++m_lastSent, m_lastPath, true}, destination);
    }
}

void Rotation::send(const QString& path, bool revisit)
{
    m_lastPath = path;
    m_destinations->send({++m_lastSent, path, revisit});
}

void Rotation::answered(const Destinations::Picture& picture, bool taken)
{
    // The first destination to take a picture makes it the current one; an older picture that a
    // slower destination takes later never does.
    if (taken && picture.id > m_lastTaken) {
        m_lastTaken = picture.id;
        m_current = picture.path;
        if (!picture.revisit)
            m_history.sent(picture.path);
        emit pictureSent(picture.path);
    }
    emit stateChanged();
}

// ---------------------------------------------------------------------------------------------
// State

Rotation::State Rotation::state() const
{
    switch (why()) {
    case Why::Nothing:
        return m_paused ? State::Paused : State::Running;
    default:
        return State::Stopped;
    }
}

Rotation::Why Rotation::why() const
{
    if (!m_on)
        return Why::Off;
    if (m_paused)
        return Why::Nothing;
    if (!m_folderExists)
        return Why::NoFolder;
    if (count() == 0)
        return Why::NoPictures;
    if (!m_timer->isActive())
        return Why::NoClient;
    return Why::Nothing;
}

QString Rotation::stateReason() const
{
    switch (why()) {
    case Why::Off:
        return Texts::text(Text::ReasonOff);
    case Why::NoFolder:
        return Texts::text(Text::NoPictureFolder);
    case Why::NoPictures:
        return Texts::text(Text::NoPictures);
    case Why::NoClient:
        return Texts::text(Text::WaitingForAClient);
    case Why::Nothing:
        break;
    }
    return m_paused ? Texts::text(Text::ReasonPaused) : QString();
}
