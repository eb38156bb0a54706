#pragma once

#include "core/Result.h"
#include "core/fs/FileList.h"
#include "core/rotation/OutageNotices.h"
#include "core/rotation/PictureChooser.h"
#include "core/rotation/PictureHistory.h"

#include <QObject>
#include <QPointer>

#include <optional>

class FolderWatch;
class PictureDestination;
class RotationTimer;
class Settings;

// The picture rotation, whole and without any window: the picture folder and its listing, the
// position in it, whether rotation is on (as Apply left it) and whether it is paused, the timer,
// the picture on its way to the destination, the last one it took, the last failure, the outage
// notes and the pictures sent in this run. The main window, the notification area, the session
// bus and the command line are views on it and commands to it; none keeps a state of its own.
//
// Three states: running (the timer sends pictures), paused (a pause from outside), stopped
// (rotation off, no folder, no pictures, or no client yet). Whenever rotation is on, not paused
// and there are pictures and a client, it runs: a client that comes later starts it as Apply would.
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

    // Where the pictures go; none until start-up has made a client.
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
    // The picture the destination took last (full path); empty before the first.
    const QString& currentPicture() const { return m_current; }
    // Why the last picture did not reach the destination, cut to a readable length; empty once
    // one did.
    const QString& lastError() const { return m_lastError; }
    // Who takes the pictures now; empty for nobody.
    QString client() const;
    RotationTimer* timer() const { return m_timer; }

    // A failure text as it is shown and written: at most this many characters.
    static constexpr int MaxFailureLength = 300;
    static QString shortened(const QString& text);

signals:
    void folderChanged(const QString& folder);
    // The listing changed; position() says what is selected in it now.
    void listingChanged();
    // The selection moved to this row; the views show the picture.
    void positionChanged(int row);
    // The destination took a picture.
    void pictureSent(const QString& path);
    // The state, the client, the last failure or the history changed.
    void stateChanged();
    // Pictures have failed for a while (`outage`), or reach the destination again.
    void outageNoticed(bool outage, const QString& why, const QString& client);

private:
    struct Request
    {
        QString path;
        bool revisit; // a picture of the history: not added to it again
    };
    void send(const Request& request);
    void answered(const Request& request, const Result<void>& sent);
    void logFailure(const QString& why);
    void startFromFirstPicture();
    void startTimer();
    bool canRun() const;
    void relist(bool keepSelection);
    void destinationChanged();
    void setPaused(bool paused);

    Settings& m_settings;
    QPointer<PictureDestination> m_destination;
    QString m_folder;
    bool m_folderExists = false;
    FileList m_pictures;
    int m_position = -1;
    bool m_on = false;
    bool m_paused = false;
    qint64 m_intervalMs = 30000;
    bool m_wasAvailable = false;
    // A picture on its way, and the newest one to send once the answer is in.
    bool m_sending = false;
    std::optional<Request> m_waiting;
    QString m_current;
    QString m_lastError;
    // The same failure at every tick is written once, then counted.
    QString m_logged;
    int m_repeats = 0;
    PictureHistory m_history;
    PictureChooser m_chooser;
    OutageNotices m_outage;
    RotationTimer* m_timer;
    FolderWatch* m_watch;
};
