#pragma once

#include <QPointer>
#include <QRectF>
#include <QString>

class QAction;
class QMenu;
class QObject;
class QWidget;

enum class ControlKind {
    Frame,
    Label,
    CommandButton,
    CheckBox,
    TextBox,
    ListBox,
    ComboBox,
    Image,
    FileList,
    Menu,
    MenuItem,
    // A widget with none of the properties above but a position (the banner area).
    Other,
};

// One control of a window, addressed by name (and index for members of a control array).
// The language and layout routines work through this generic view: caption, tooltip, tag,
// text alignment, right-to-left flag and the design rectangle in twips. A property that the
// underlying widget lacks reports has...() == false and its setter does nothing.
class NamedControl
{
public:
    NamedControl(const QString& name, ControlKind kind, QObject* object, NamedControl* container,
                 const QRectF& twips, int index = -1);

    const QString& name() const { return m_name; }
    int index() const { return m_index; }
    bool isArrayMember() const { return m_index >= 0; }
    // The name used for language keys: name, or name(index) for array members.
    QString keyBase() const;
    ControlKind kind() const { return m_kind; }
    // nullptr for a control with no widget (a file list, a menu item).
    QWidget* widget() const;
    QAction* action() const;
    QMenu* menu() const;
    NamedControl* container() const { return m_container; }
    bool isInFrame() const { return m_container && m_container->kind() == ControlKind::Frame; }

    bool hasCaption() const;
    QString caption() const;
    void setCaption(const QString& caption);

    bool hasToolTip() const;
    QString toolTip() const;
    void setToolTip(const QString& toolTip);

    const QString& tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    // 0 left-justified, 1 right-justified.
    bool hasAlignment() const;
    int alignment() const { return m_alignment; }
    void setAlignment(int alignment);

    bool rightToLeft() const { return m_rightToLeft; }
    void setRightToLeft(bool rightToLeft);

    bool hasPosition() const;
    double left() const { return m_twips.x(); }
    double width() const { return m_twips.width(); }
    void setLeft(double left);
    // Recomputes the pixel geometry of the widget from the design rectangle.
    void applyGeometry(double twipsPerPixelX, double twipsPerPixelY);

private:
    void applyAlignment();

    QString m_name;
    int m_index;
    ControlKind m_kind;
    QPointer<QObject> m_object;
    NamedControl* m_container;
    QRectF m_twips;
    QString m_tag;
    int m_alignment = 0;
    bool m_rightToLeft = false;
    double m_tppX = 15.0;
    double m_tppY = 15.0;
};
