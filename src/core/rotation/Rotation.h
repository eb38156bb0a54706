#pragma once

#include "core/Result.h"
#include "core/fs/FileList.h"
#include "core/rotation/Destinations.h"
#include "core/rotation/OutageNotices.h"
#include "core/rotation/PictureChooser.h"
#include "core/rotation/PictureHistory.h"

#include <QObject>

class FolderWatch;
class PictureDestination;
class RotationTimer;
class Settings;

// The picture rotation, whole and without any window: the picture folder and its listing, the
// position in it, whether rotation is on (as Apply left it) and whether it is paused, the timer,
// the destinations and the pictures on their way to them, the last picture one took, the last
// failures, the outage notes and the pictures sent in this run. The main window, the notification
// area, the session bus and the command line are views on it and commands to it; none keeps a state
// of its own.
//
// Three states: running (the timer sends pictures), paused (a pause from outside), stopped
// (rotation off, no folder, no pictures, or no destination yet). Whenever rotation is on, not
// paused and there are pictures and a destination that takes them, it runs: a destination that
// comes later starts it as Apply would.
class Rotation : public QObject
{
    Q_OBJECT
public:
    // The pictures of a folder that are listed.
    static const QString PicturePattern; // "*.jpg;*.gif;*.bmp;*.png;*.jpge"

    enum class State { Running, Paused, Stopped };
    // Why the rotation is stopped.
    enum class Why { Nothing, Off, NoFolder, NoPictures, NoClient };
    // What Apply did with the rotation: what "Enable Control." is stored as follows from it.
    enum class Applied { Started, Unchanged, Stopped };

    Rotation(Settings& settings, std::chrono::milliseconds outageNoticeAfter,
             OutageNotices::Clock clock = &OutageNotices::steadyNow, QObject* parent = nullptr);
    ~Rotation() override;

    // The session's Messenger client; none until start-up has made one.
    void setDestination(PictureDestination* destination);
    // Another destination beside the Messenger client (an XMPP account); it leaves the rotation
    // when removed or destroyed.
    void addDestination(PictureDestination* destination);
    void removeDestination(PictureDestination* destination);

    // --- The folder and its pictures
    // Lists the folder afresh with nothing selected, and follows it from then on: files added,
    // removed or renamed there are listed within a moment, the selected one staying selected.
    void setFolder(const QString& folder);
    // Lists the same folder afresh, nothing selected (pictures were added to it).
    void fillPictureList();
    const QString& folder() const { return m_folder; }
    const FileList& pictures() const { return m_pictures; }
    int count() const { return m_pictures.count(); }
    QString picturePath(const QString& name) const;
    // The selected row, the rotation's position; -1 for none.
    int position() const { return m_position; }
    // Selects a row (-1: none), as a click does: the views show it.
    void select(int row);

    // --- Commands
    // Apply's part: rotation on or off with this interval.
    Applied apply(bool on, qint64 intervalMs);
    // A tick: the next picture, or a random one as the stored mode says, read afresh each time.
    void TimerTick();
    void starter();
    void starterrand();
    // The selected picture, sent at once (a double-click).
    void sendSelected();
    // What a tick would send, now; a running interval starts again.
    void next();
    // Back to the picture sent before the current one, sent again; fails at the oldest.
    Result<void> previous();
    // The timer stops until resume(); nothing stored changes. Both fail while rotation is off.
    Result<void> pause();
    Result<void> resume();
    // Deletes the picture file from the disk and the list, then goes on from the first picture.
    Result<void> deletePicture(const QString& name);

    // --- What the views show
    State state() const;
    Why why() const;
    // Why it is stopped or paused, in English words (the views say it in the user's language);
    // empty while it runs.
    QString stateReason() const;
    bool isOn() const { return m_on; }
    bool isPaused() const { return m_paused; }
    bool canGoBack() const { return m_history.canGoBack(); }
    // The folder's changes are followed as they happen; false while it is only looked at every
    // few seconds (no file watches left).
    bool isFollowingFolder() const;
    // The picture a destination took last (full path); empty before the first.
    const QString& currentPicture() const { return m_current; }
    // Why the last picture did not reach the destinations it failed at, each cut to a readable
    // length; empty while it reached every one.
    QString lastError() const { return m_destinations->lastError(); }
    // The Messenger client that takes the pictures now ("MessengerAPI", "Pidgin"); empty for none.
    QString client() const;
    // Every destination and how it fares, the Messenger client first.
    QList<Destinations::Status> destinations() const { return m_destinations->statuses(); }
    RotationTimer* timer() const { return m_timer; }

signals:
    void folderChanged(const QString& folder);
    // The listing changed; position() says what is selected in it now.
    void listingChanged();
    // The selection moved to this row; the views show the picture.
    void positionChanged(int row);
    // A destination took a picture (told once a picture).
    void pictureSent(const QString& path);
    // The state, the destinations, the last failures or the history changed.
    void stateChanged();
    // Pictures have failed for a while to reach `destination` (`outage`), or reach it again.
    void outageNoticed(bool outage, const QString& why, const QString& destination);

private:
    // `revisit`: a picture of the history, not added to it again.
    void send(const QString& path, bool revisit);
    void answered(const Destinations::Picture& picture, bool taken);
    void startFromFirstPicture();
    void startTimer();
    bool canRun() const;
    void relist(bool keepSelection);
    void destinationChanged(PictureDestination* destination, bool available);
    void setPaused(bool paused);

    Settings& m_settings;
    Destinations* m_destinations;
    QString m_folder;
    bool m_folderExists = false;
    FileList m_pictures;
    int m_position = -1;
    bool m_on = false;
    bool m_paused = false;
    qint64 m_intervalMs = 30000;
    bool m_wasAvailable = false;
    // The last picture handed to the destinations (its id and path), and the newest one a
    // destination took.
    quint64 m_lastSent = 0;
    QString m_lastPath;
    quint64 m_lastTaken = 0;
    QString m_current;
    PictureHistory m_history;
    PictureChooser m_chooser;
    RotationTimer* m_timer;
    FolderWatch* m_watch;
};
