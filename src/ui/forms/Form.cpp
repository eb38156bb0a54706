#include "Form.h"

#include "ui/forms/Accessibility.h"
#include "ui/forms/Twips.h"
#include "ui/widgets/FileListBox.h"
#include "ui/widgets/ImageControl.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

Form::Form(const QString& formName, const QSizeF& clientTwips, QWidget* parent)
    : QWidget(parent), m_formName(formName), m_clientTwips(clientTwips), m_tppX(Twips::perPixelX()),
      m_tppY(Twips::perPixelY())
{
    Accessibility::install();
    setObjectName(formName);
    setFixedSize(Twips::toPixels(clientTwips.width(), m_tppX),
                 Twips::toPixels(clientTwips.height(), m_tppY));
    // The design rectangles were made for a small dialog font; keep captions inside them.
    // A condensed face keeps the longer captions inside their design widths.
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setStretch(QFont::Condensed);
    small.setPixelSize(11);
    setFont(small);
}

Form::~Form() = default;

std::vector<NamedControl*> Form::controls() const
{
    std::vector<NamedControl*> result;
    result.reserve(m_controls.size());
    for (const auto& c : m_controls)
        result.push_back(c.get());
    return result;
}

NamedControl* Form::control(const QString& name, int index) const
{
    for (const auto& c : m_controls) {
        if (c->name() == name && c->index() == index)
            return c.get();
    }
    return nullptr;
}

void Form::setFormRightToLeft(bool rightToLeft)
{
    m_rightToLeft = rightToLeft;
    setLayoutDirection(rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
}

NamedControl* Form::add(const QString& name, ControlKind kind, QObject* object,
                        NamedControl* container, const QRectF& twips, int index)
{
    if (object && object->objectName().isEmpty())
        object->setObjectName(name);
    m_controls.push_back(
        std::make_unique<NamedControl>(name, kind, object, container, twips, index));
    NamedControl* control = m_controls.back().get();
    control->applyGeometry(m_tppX, m_tppY);
    if (control->hasAlignment())
        control->setAlignment(0);
    return control;
}

QWidget* Form::parentFor(NamedControl* container)
{
    if (container && container->widget())
        return container->widget();
    return this;
}

QGroupBox* Form::addFrame(const QString& name, const QString& caption, const QRectF& twips)
{
    auto* box = new QGroupBox(caption, this);
    add(name, ControlKind::Frame, box, nullptr, twips);
    return box;
}

QLabel* Form::addLabel(const QString& name, const QString& caption, const QRectF& twips,
                       NamedControl* container)
{
    auto* label = new QLabel(caption, parentFor(container));
    label->setAutoFillBackground(true);
    add(name, ControlKind::Label, label, container, twips);
    return label;
}

QPushButton* Form::addButton(const QString& name, const QString& caption, const QRectF& twips,
                             NamedControl* container)
{
    auto* button = new QPushButton(caption, parentFor(container));
    button->setAutoDefault(false);
    add(name, ControlKind::CommandButton, button, container, twips);
    return button;
}

QCheckBox* Form::addCheckBox(const QString& name, const QString& caption, const QRectF& twips,
                             NamedControl* container)
{
    auto* box = new QCheckBox(caption, parentFor(container));
    box->setAutoFillBackground(true);
    add(name, ControlKind::CheckBox, box, container, twips);
    return box;
}

QLineEdit* Form::addTextBox(const QString& name, const QString& text, const QRectF& twips,
                            NamedControl* container)
{
    auto* edit = new QLineEdit(text, parentFor(container));
    add(name, ControlKind::TextBox, edit, container, twips);
    return edit;
}

QListWidget* Form::addListBox(const QString& name, const QRectF& twips, NamedControl* container)
{
    auto* list = new QListWidget(parentFor(container));
    add(name, ControlKind::ListBox, list, container, twips);
    return list;
}

FileListBox* Form::addFileListBox(const QString& name, const QRectF& twips, NamedControl* container)
{
    auto* list = new FileListBox(parentFor(container));
    add(name, ControlKind::ListBox, list, container, twips);
    return list;
}

QComboBox* Form::addComboBox(const QString& name, const QRectF& twips, NamedControl* container)
{
    auto* combo = new QComboBox(parentFor(container));
    add(name, ControlKind::ComboBox, combo, container, twips);
    return combo;
}

ImageControl* Form::addImage(const QString& name, const QRectF& twips, NamedControl* container)
{
    auto* image = new ImageControl(parentFor(container));
    image->setDesignSize(twips.width(), twips.height());
    add(name, ControlKind::Image, image, container, twips);
    return image;
}

NamedControl* Form::addOther(const QString& name, QWidget* widget, const QRectF& twips,
                             NamedControl* container)
{
    widget->setParent(parentFor(container));
    return add(name, ControlKind::Other, widget, container, twips);
}

NamedControl* Form::addFileList(const QString& name, const QRectF& twips)
{
    return add(name, ControlKind::FileList, nullptr, nullptr, twips);
}

QMenu* Form::addMenu(const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption, this);
    add(name, ControlKind::Menu, menu, nullptr, QRectF());
    return menu;
}

QAction* Form::addMenuItem(const QString& menuName, const QString& name, const QString& caption,
                           int index)
{
    NamedControl* menuControl = control(menuName);
    QMenu* menu = menuControl ? menuControl->menu() : nullptr;
    if (!menu)
        return nullptr;
    QAction* action = menu->addAction(caption);
    add(name, ControlKind::MenuItem, action, menuControl, QRectF(), index);
    return action;
}

void Form::addMenuSeparator(const QString& menuName)
{
    if (NamedControl* menuControl = control(menuName); menuControl && menuControl->menu())
        menuControl->menu()->addSeparator();
}
