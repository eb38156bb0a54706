#pragma once

#include "core/rotation/PictureChooser.h"
#include "ui/forms/ErrorReporter.h"

#include <QObject>

#include <optional>

class FileListBox;
class ImageControl;
class IntervalFields;
class MessengerClient;
class QAction;
class QCheckBox;
class QLineEdit;
class QMenu;
class RotationTimer;
class Settings;
class FolderWatch;

// The picture list and the rotation: the listing of the picture folder, the preview of the
// selected picture, the timer whose ticks make the next (or a random) picture the display
// picture, a double-click that sends one at once, and "Delete" in the list's menu.
class PictureRotation : public QObject
{
    Q_OBJECT
public:
    // The pictures of a folder that the list shows.
    static const QString PicturePattern; // "*.jpg;*.gif;*.bmp;*.png;*.jpge"

    struct Widgets
    {
        FileListBox* list;     // lstimages
        ImageControl* preview; // imgnow
        QLineEdit* folder;     // txtpath
        QCheckBox* rotationOn; // chkrun
        QMenu* menu;           // mnuimglst
        QAction* deleteAction; // mnudel
    };

    PictureRotation(const Widgets& widgets, const IntervalFields* intervals, Settings* settings,
                    ErrorReporter report, QObject* parent = nullptr);

    // The client that receives the pictures; none until start-up has made one.
    void setClient(MessengerClient* client) { m_client = client; }
    MessengerClient* client() const { return m_client; }

    RotationTimer* timer() const { return m_timer; }
    quint32 TimerID() const;
    // Starts the timer, unless the rotation is paused.
    void startRotationTimer();
    void stopRotationTimer();

    // A pause stops the timer until resume() or Apply starts it again; nothing stored changes.
    void pause();
    void resume();
    bool isPaused() const { return m_paused; }
    // The picture a tick would send now, at once; a running timer starts its interval again.
    void next();

    void TimerTick();
    void starter();
    void starterrand();
    // Apply's start of the rotation: the first picture selected, sent and shown.
    void startFromFirstPicture();

    // Lists the folder afresh (nothing selected), and follows it from then on: files added,
    // removed or renamed there show in the list within a moment, the selected one staying so.
    void fillPictureList();
    int pictureCount() const;
    QString picturePath(const QString& name) const;
    QString folder() const;

    void lstimages_Click();
    void lstimages_DblClick();
    void lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnudel_Click();

signals:
    // The client took the picture, or refused it (or did not answer in time).
    void pictureSent(const QString& path);
    void sendFailed(const QString& reason);
    void pausedChanged(bool paused);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void selectItem(int row);
    void previewSelected();
    void setDisplayPicture(const QString& path);
    bool rotationOn() const;
    void folderChanged();

    Widgets m_widgets;
    const IntervalFields* m_intervals;
    Settings* m_settings;
    ErrorReporter m_report;
    // Kept for comparison only: the viewport's last events arrive while the list is being
    // destroyed, when none of the list's own functions may be called any more.
    const QObject* m_viewport;
    MessengerClient* m_client = nullptr;
    // A picture on its way to the client, and the newest one to send once it has answered.
    bool m_sending = false;
    std::optional<QString> m_waiting;
    RotationTimer* m_timer;
    PictureChooser m_chooser;
    bool m_paused = false;
    FolderWatch* m_watch;
};
