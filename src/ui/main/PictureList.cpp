#include "PictureList.h"

#include "core/language/Texts.h"
#include "core/rotation/Rotation.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"
#include "ui/widgets/ShowPictureFile.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

PictureList::PictureList(const Widgets& widgets, Rotation& rotation, ErrorReporter report,
                         QObject* parent)
    : QObject(parent), m_widgets(widgets), m_rotation(rotation), m_report(std::move(report)),
      m_viewport(widgets.list->viewport()), m_listWidget(widgets.list)
{
    // A picture that cannot be read leaves the preview as it was; a tick never opens a message
    // for it.
    connect(m_widgets.preview, &ImageControl::failed, this,
            [](const QString& error) { qWarning("Dorvane: %s", qPrintable(error)); });
    connect(&m_rotation, &Rotation::listingChanged, this, &PictureList::showListing);
    connect(&m_rotation, &Rotation::positionChanged, this, &PictureList::showPosition);
    connect(m_widgets.list, &FileListBox::currentRowChanged, this, [this] { lstimages_Click(); });
    connect(m_widgets.list, &FileListBox::doubleClicked, this, [this] { lstimages_DblClick(); });
    connect(m_widgets.deleteAction, &QAction::triggered, this, &PictureList::mnudel_Click);
    widgets.list->viewport()->installEventFilter(this);
    widgets.list->installEventFilter(this);
    showListing();
}

void PictureList::showListing()
{
    FileListBox* list = m_widgets.list;
    list->setFiles(m_rotation.pictures());
    const QSignalBlocker block(list);
    list->setCurrentRow(m_rotation.position());
}

void PictureList::showPosition(int row)
{
    {
        const QSignalBlocker block(m_widgets.list);
        m_widgets.list->setCurrentRow(row);
    }
    if (row >= 0)
        ShowPictureFile(m_rotation.picturePath(m_rotation.pictures().name(row)), m_widgets.preview);
}

void PictureList::lstimages_Click()
{
    if (m_widgets.list->count() == 0)
        return;
    // No selection: the first picture, as the list's own rule has it.
    const int row = m_widgets.list->currentRow();
    m_rotation.select(row < 0 ? 0 : row);
}

void PictureList::lstimages_DblClick()
{
    m_rotation.sendSelected();
}

void PictureList::lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos)
{
    if (button == Qt::RightButton)
        openMenu(globalPos);
}

void PictureList::openMenu(const QPoint& globalPos)
{
    m_menuTarget = m_widgets.list->currentText();
    if (!m_menuTarget.isEmpty())
        m_widgets.menu->popup(globalPos);
}

void PictureList::mnudel_Click()
{
    // The row the menu was opened on, else the selected one.
    QString name = std::exchange(m_menuTarget, QString());
    if (name.isEmpty())
        name = m_widgets.list->currentText();
    deletePicture(name);
}

void PictureList::deletePicture(const QString& name)
{
    if (m_rotation.count() == 0)
        return;
    if (name.isEmpty())
        return m_report(Texts::text(Text::NoPictureSelected));
    if (const Result<void> deleted = m_rotation.deletePicture(name); !deleted)
        m_report(deleted.error());
}

bool PictureList::keyPressed(const QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Delete:
        deletePicture(m_widgets.list->currentText());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_rotation.sendSelected();
        return true;
    case Qt::Key_Menu:
    case Qt::Key_F10: {
        if (key->key() == Qt::Key_F10 && key->modifiers() != Qt::ShiftModifier)
            return false;
        FileListBox* list = m_widgets.list;
        const QRect row = list->visualRect(list->model()->index(list->currentRow(), 0));
        openMenu(list->viewport()->mapToGlobal(row.isValid() ? row.center() : QPoint()));
        return true;
    }
    default:
        return false;
    }
}

bool PictureList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_listWidget && event->type() == QEvent::KeyPress)
        return keyPressed(static_cast<QKeyEvent*>(event)) || QObject::eventFilter(watched, event);
    if (watched != m_viewport)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        // The right button selects the row under the pointer, as every list does, so that the
        // menu acts on the picture the user pointed at.
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        const QModelIndex under = m_widgets.list->indexAt(mouse->position().toPoint());
        if (under.isValid() && under.row() != m_widgets.list->currentRow())
            m_rotation.select(under.row());
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            lstimages_MouseUp(mouse->button(), mouse->globalPosition().toPoint());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
