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
    : QObject(parent), m_settings(settings), m_pictures(PicturePattern),
      m_outage(
          outageNoticeAfter,
          [this](bool outage, const QString& why) { emit outageNoticed(outage, why, client()); },
          std::move(clock)),
      m_timer(new RotationTimer(this)), m_watch(new FolderWatch(this))
{
    connect(m_timer, &RotationTimer::tick, this, &Rotation::TimerTick);
    connect(m_watch, &FolderWatch::changed, this, [this] { relist(true); });
    connect(m_watch, &FolderWatch::watchingChanged, this, &Rotation::stateChanged);
}

Rotation::~Rotation() = default;

void Rotation::setDestination(PictureDestination* destination)
{
    if (m_destination)
        disconnect(m_destination, nullptr, this, nullptr);
    m_destination = destination;
    m_wasAvailable = destination && destination->isAvailable();
    if (destination)
        connect(destination, &PictureDestination::availabilityChanged, this,
                &Rotation::destinationChanged);
    emit stateChanged();
}

void Rotation::addDestination(PictureDestination*) {}

void Rotation::removeDestination(PictureDestination*) {}

bool Rotation::isFollowingFolder() const
{
    return m_folder.isEmpty() || m_watch->isWatching();
}

QString Rotation::client() const
{
    return m_destination && m_destination->isAvailable() ? m_destination->name() : QString();
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
    // Apply ends a pause. Without pictures or a client a running timer runs on; a client that
    // comes starts it.
    setPaused(false);
    if (count() == 0 || !m_destination || !m_destination->isAvailable()) {
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
    send({picturePath(m_pictures.name(0)), false});
}

void Rotation::startTimer()
{
    m_timer->start(m_intervalMs);
    emit stateChanged();
}

bool Rotation::canRun() const
{
    return m_on && !m_paused && m_folderExists && count() > 0 && m_destination &&
           m_destination->isAvailable();
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
    send({picturePath(m_pictures.name(row)), false});
}

void Rotation::starterrand()
{
    const int row = m_chooser.random(count());
    if (row < 0)
        return;
    select(row);
    send({picturePath(m_pictures.name(row)), false});
}

void Rotation::sendSelected()
{
    if (m_position >= 0)
        send({picturePath(m_pictures.name(m_position)), false});
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
    send({path, true});
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
    send({picturePath(m_pictures.name(0)), false});
    return {};
}

// ---------------------------------------------------------------------------------------------
// The destination

void Rotation::destinationChanged()
{
    const bool available = m_destination && m_destination->isAvailable();
    const bool wasAvailable = std::exchange(m_wasAvailable, available);
    const bool came = available && !wasAvailable;
    emit stateChanged();
    // A client that comes after start-up, or after an outage, starts the rotation as Apply would.
    if (came && canRun()) {
        startFromFirstPicture();
        if (const Result<void> stored = m_settings.write(Entry::Control, QStringLiteral("1"));
            !stored)
            qWarning("Dorvane: %s", qPrintable(stored.error()));
    }
}

void Rotation::send(const Request& request)
{
    if (!m_destination)
        return;
    // While the destination has not answered, no second request queues up behind the first: the
    // newest picture waits and goes once the answer is in.
    if (m_sending) {
        m_waiting = request;
        return;
    }
    m_sending = true;
    m_destination->setDisplayPicture(request.path,
                                     [self = QPointer(this), request](const Result<void>& sent) {
                                         if (self)
                                             self->answered(request, sent);
                                     });
}

void Rotation::answered(const Request& request, const Result<void>& sent)
{
    m_sending = false;
    if (sent) {
        logFailure(QString());
        m_current = request.path;
        if (!request.revisit)
            m_history.sent(request.path);
        m_lastError.clear();
        m_outage.reached();
        emit pictureSent(request.path);
    } else {
        // A refusal (client closed, nobody signed in, file gone) is no message; the rotation
        // goes on.
        m_lastError = shortened(sent.error());
        logFailure(m_lastError);
        m_outage.failed(m_lastError);
    }
    emit stateChanged();
    if (m_waiting)
        send(*std::exchange(m_waiting, std::nullopt));
}

void Rotation::logFailure(const QString& why)
{
    if (!why.isEmpty() && why == m_logged) {
        ++m_repeats;
        return;
    }
    if (m_repeats > 0)
        qWarning("Dorvane: the same failure came %d more times.", m_repeats);
    m_repeats = 0;
    m_logged = why;
    if (!why.isEmpty())
        qWarning("Dorvane: display picture not set: %s", qPrintable(why));
}

QString Rotation::shortened(const QString& text)
{
    if (text.size() <= MaxFailureLength)
        return text.simplified();
    return text.left(MaxFailureLength - 1).simplified() + QChar(0x2026);
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
