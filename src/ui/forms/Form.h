#pragma once

#include "ui/forms/NamedControl.h"

#include <QSizeF>
#include <QWidget>

#include <memory>
#include <vector>

class FileListBox;
class ImageControl;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

// A window whose controls are laid out from design rectangles in twips and can be addressed by
// name in a stable order, menu items included.
class Form : public QWidget
{
    Q_OBJECT
public:
    Form(const QString& formName, const QSizeF& clientTwips, QWidget* parent = nullptr);
    ~Form() override;

    const QString& formName() const { return m_formName; }
    // The controls in the order the window holds them.
    std::vector<NamedControl*> controls() const;
    NamedControl* control(const QString& name, int index = -1) const;
    // The widget of a control as its own type; nullptr when it has no widget of that type.
    template <class T> T* widget(const QString& name, int index = -1) const
    {
        NamedControl* found = control(name, index);
        return found ? qobject_cast<T*>(found->widget()) : nullptr;
    }

    // Inner width of the window in twips.
    double scaleWidth() const { return m_clientTwips.width(); }
    double twipsPerPixelX() const { return m_tppX; }
    double twipsPerPixelY() const { return m_tppY; }

    bool formRightToLeft() const { return m_rightToLeft; }
    void setFormRightToLeft(bool rightToLeft);

protected:
    QGroupBox* addFrame(const QString& name, const QString& caption, const QRectF& twips);
    QLabel* addLabel(const QString& name, const QString& caption, const QRectF& twips,
                     NamedControl* container = nullptr);
    QPushButton* addButton(const QString& name, const QString& caption, const QRectF& twips,
                           NamedControl* container = nullptr);
    QCheckBox* addCheckBox(const QString& name, const QString& caption, const QRectF& twips,
                           NamedControl* container = nullptr);
    QLineEdit* addTextBox(const QString& name, const QString& text, const QRectF& twips,
                          NamedControl* container = nullptr);
    QListWidget* addListBox(const QString& name, const QRectF& twips,
                            NamedControl* container = nullptr);
    FileListBox* addFileListBox(const QString& name, const QRectF& twips,
                                NamedControl* container = nullptr);
    QComboBox* addComboBox(const QString& name, const QRectF& twips,
                           NamedControl* container = nullptr);
    ImageControl* addImage(const QString& name, const QRectF& twips,
                           NamedControl* container = nullptr);
    NamedControl* addOther(const QString& name, QWidget* widget, const QRectF& twips,
                           NamedControl* container = nullptr);
    // A hidden file list has a design rectangle but no widget.
    NamedControl* addFileList(const QString& name, const QRectF& twips);
    QMenu* addMenu(const QString& name, const QString& caption);

public:
    // Menu items may be created at run time (the language items), hence public.
    QAction* addMenuItem(const QString& menuName, const QString& name, const QString& caption,
                         int index = -1);
    void addMenuSeparator(const QString& menuName);

private:
    NamedControl* add(const QString& name, ControlKind kind, QObject* object,
                      NamedControl* container, const QRectF& twips, int index = -1);
    QWidget* parentFor(NamedControl* container);

    QString m_formName;
    QSizeF m_clientTwips;
    double m_tppX;
    double m_tppY;
    bool m_rightToLeft = false;
    std::vector<std::unique_ptr<NamedControl>> m_controls;
};
