#include "PictureRotation.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FolderWatch.h"
#include "core/rotation/RotationTimer.h"
#include "core/settings/Settings.h"
#include "messenger/MessengerClient.h"
#include "ui/main/IntervalFields.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"
#include "ui/widgets/ShowPictureFile.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

const QString PictureRotation::PicturePattern = QStringLiteral("*.jpg;*.gif;*.bmp;*.png;*.jpge");

PictureRotation::PictureRotation(const Widgets& widgets, const IntervalFields* intervals,
                                 Settings* settings, ErrorReporter report, QObject* parent)
    : QObject(parent), m_widgets(widgets), m_intervals(intervals), m_settings(settings),
      m_report(std::move(report)), m_viewport(widgets.list->viewport()),
      m_timer(new RotationTimer(this)), m_watch(new FolderWatch(this))
{
    connect(m_watch, &FolderWatch::changed, this, &PictureRotation::folderChanged);
    // A picture that cannot be read leaves the preview as it was; a tick never opens a message
    // for it.
    connect(m_widgets.preview, &ImageControl::failed, this,
            [](const QString& error) { qWarning("Dorvane: %s", qPrintable(error)); });
    connect(m_timer, &RotationTimer::tick, this, &PictureRotation::TimerTick);
    connect(m_widgets.list, &FileListBox::currentRowChanged, this, [this] { lstimages_Click(); });
    connect(m_widgets.list, &FileListBox::doubleClicked, this, [this] { lstimages_DblClick(); });
    connect(m_widgets.deleteAction, &QAction::triggered, this, &PictureRotation::mnudel_Click);
    widgets.list->viewport()->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Rotation

quint32 PictureRotation::TimerID() const
{
    return m_timer->timerId();
}

void PictureRotation::startRotationTimer()
{
    if (!m_paused)
        m_timer->start(m_intervals->intervalMs());
}

void PictureRotation::stopRotationTimer()
{
    m_timer->stop();
}

void PictureRotation::pause()
{
    stopRotationTimer();
    if (!std::exchange(m_paused, true))
        emit pausedChanged(true);
}

void PictureRotation::resume()
{
    if (std::exchange(m_paused, false))
        emit pausedChanged(false);
    startRotationTimer();
}

void PictureRotation::next()
{
    TimerTick();
    if (m_timer->isActive())
        startRotationTimer();
}

void PictureRotation::TimerTick()
{
    // The mode is read afresh at every tick; only exactly 1 means random.
    if (m_settings->readNumber(Settings::Entry::Random) == 1)
        starterrand();
    else
        starter();
}

void PictureRotation::starter()
{
    const int row = PictureChooser::next(m_widgets.list->currentRow(), m_widgets.list->count());
    if (row < 0)
        return;
    selectItem(row);
    setDisplayPicture(picturePath(m_widgets.list->text(row)));
}

void PictureRotation::starterrand()
{
    const int row = m_chooser.random(m_widgets.list->count());
    if (row < 0)
        return;
    selectItem(row);
    setDisplayPicture(picturePath(m_widgets.list->text(row)));
}

void PictureRotation::startFromFirstPicture()
{
    // Apply starts the rotation, paused or not.
    if (std::exchange(m_paused, false))
        emit pausedChanged(false);
    startRotationTimer();
    selectItem(0);
    setDisplayPicture(picturePath(m_widgets.list->text(0)));
    previewSelected();
}

void PictureRotation::setDisplayPicture(const QString& path)
{
    if (!m_client)
        return;
    // While the client has not answered, no second request queues up behind the first: the
    // newest picture waits and goes once the answer is in.
    if (m_sending) {
        m_waiting = path;
        return;
    }
    m_sending = true;
    m_client->setMyProperty(
        MessengerClient::DisplayPictureProperty, path, [this, path](const Result<void>& sent) {
            // A refusal (client closed, nobody signed in, file gone) is
            // no message; the rotation goes on.
            if (sent) {
                emit pictureSent(path);
            } else {
                qWarning("Dorvane: display picture not set: %s", qPrintable(sent.error()));
                emit sendFailed(sent.error());
            }
            m_sending = false;
            if (m_waiting)
                setDisplayPicture(*std::exchange(m_waiting, std::nullopt));
        });
}

bool PictureRotation::rotationOn() const
{
    return m_widgets.rotationOn->checkState() == Qt::Checked;
}

// ---------------------------------------------------------------------------------------------
// Picture list

void PictureRotation::fillPictureList()
{
    FileList files(PicturePattern);
    files.setPath(m_widgets.folder->text());
    m_widgets.list->setFiles(files);
    m_watch->watch(m_widgets.folder->text());
}

void PictureRotation::folderChanged()
{
    // The same listing as a refill, with the selected picture selected again by its name; the
    // preview and the rotation go on from it.
    FileListBox* list = m_widgets.list;
    const QString selected = list->currentText();
    FileList files(PicturePattern);
    files.setPath(m_widgets.folder->text());
    const QSignalBlocker block(list);
    list->setFiles(files);
    if (!selected.isEmpty())
        list->setCurrentRow(static_cast<int>(files.names().indexOf(selected)));
}

int PictureRotation::pictureCount() const
{
    return m_widgets.list->count();
}

QString PictureRotation::folder() const
{
    return m_widgets.folder->text();
}

QString PictureRotation::picturePath(const QString& name) const
{
    return AppPaths::join(m_widgets.folder->text(), name);
}

void PictureRotation::selectItem(int row)
{
    // Selecting runs the list's click handler, as a user's click would.
    m_widgets.list->setCurrentRow(row);
}

void PictureRotation::lstimages_Click()
{
    if (m_widgets.list->count() == 0)
        return;
    if (m_widgets.list->currentRow() < 0) {
        const QSignalBlocker block(m_widgets.list);
        m_widgets.list->setCurrentRow(0);
    }
    previewSelected();
}

void PictureRotation::previewSelected()
{
    const int row = m_widgets.list->currentRow();
    if (row < 0)
        return;
    ShowPictureFile(picturePath(m_widgets.list->text(row)), m_widgets.preview);
}

void PictureRotation::lstimages_DblClick()
{
    const int row = m_widgets.list->currentRow();
    if (row >= 0)
        setDisplayPicture(picturePath(m_widgets.list->text(row)));
}

void PictureRotation::lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        m_widgets.menu->popup(globalPos);
}

void PictureRotation::mnudel_Click()
{
    FileListBox* list = m_widgets.list;
    if (list->count() == 0)
        return;
    stopRotationTimer();

    const int row = list->currentRow();
    QString failure;
    if (row < 0) {
        failure = tr("No picture is selected.");
    } else {
        QFile file(picturePath(list->text(row)));
        if (!file.remove())
            failure = tr("The picture %1 could not be deleted: %2")
                          .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
    }
    if (!failure.isEmpty()) {
        // The list stays as it was and the rotation goes on.
        if (rotationOn())
            startRotationTimer();
        m_report(failure);
        return;
    }

    const QSignalBlocker block(list);
    list->removeRow(row);
    if (list->count() == 0)
        return;
    if (rotationOn())
        startRotationTimer();
    list->setCurrentRow(0);
    previewSelected();
    setDisplayPicture(picturePath(list->text(0)));
}

bool PictureRotation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport) {
        // The right button opens the list's menu and leaves the selection alone.
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
                return true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::RightButton) {
                lstimages_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
