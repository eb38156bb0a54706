#pragma once

#include "ui/forms/ErrorReporter.h"

#include <QObject>

class FileListBox;
class ImageControl;
class QAction;
class QKeyEvent;
class QMenu;
class Rotation;

// The picture list and the preview, as views on the rotation: the list shows the rotation's
// pictures and its position, the preview shows the picture at that position, and a click, a
// double-click, "Delete" in the list's menu and the keys are commands to the rotation.
//
// The right button selects the row under the pointer before the list's menu opens, and "Delete"
// then deletes that row's picture, even if a tick moves the selection while the menu is open.
// The Delete key deletes the selected picture, the Menu key and Shift+F10 open the menu on it,
// and Enter sends it at once, as a double-click does.
class PictureList : public QObject
{
    Q_OBJECT
public:
    struct Widgets
    {
        FileListBox* list;     // lstimages
        ImageControl* preview; // imgnow
        QMenu* menu;           // mnuimglst
        QAction* deleteAction; // mnudel
    };

    PictureList(const Widgets& widgets, Rotation& rotation, ErrorReporter report,
                QObject* parent = nullptr);

    void lstimages_Click();
    void lstimages_DblClick();
    void lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnudel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showListing();
    void showPosition(int row);
    void openMenu(const QPoint& globalPos);
    void deletePicture(const QString& name);
    bool keyPressed(const QKeyEvent* key);

    Widgets m_widgets;
    Rotation& m_rotation;
    ErrorReporter m_report;
    // Kept for comparison only: the viewport's last events arrive while the list is being
    // destroyed, when none of the list's own functions may be called any more.
    const QObject* m_viewport;
    const QObject* m_listWidget;
    // The picture the open menu was opened on.
    QString m_menuTarget;
};
