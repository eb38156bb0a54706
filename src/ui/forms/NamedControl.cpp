#include "NamedControl.h"

#include "ui/forms/Twips.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWidget>

NamedControl::NamedControl(const QString& name, ControlKind kind, QObject* object,
                           NamedControl* container, const QRectF& twips, int index)
    : m_name(name), m_index(index), m_kind(kind), m_object(object), m_container(container),
      m_twips(twips)
{
}

QString NamedControl::keyBase() const
{
    if (!isArrayMember())
        return m_name;
    return m_name + QLatin1Char('(') + QString::number(m_index) + QLatin1Char(')');
}

QWidget* NamedControl::widget() const
{
    return qobject_cast<QWidget*>(m_object.data());
}

QAction* NamedControl::action() const
{
    return qobject_cast<QAction*>(m_object.data());
}

QMenu* NamedControl::menu() const
{
    return qobject_cast<QMenu*>(m_object.data());
}

bool NamedControl::hasCaption() const
{
    switch (m_kind) {
    case ControlKind::Frame:
    case ControlKind::Label:
    case ControlKind::CommandButton:
    case ControlKind::CheckBox:
    case ControlKind::Menu:
    case ControlKind::MenuItem:
        return !m_object.isNull();
    default:
        return false;
    }
}

QString NamedControl::caption() const
{
    if (auto* box = qobject_cast<QGroupBox*>(m_object))
        return box->title();
    if (auto* label = qobject_cast<QLabel*>(m_object))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(m_object))
        return button->text();
    if (auto* menu = qobject_cast<QMenu*>(m_object))
        return menu->title();
    if (auto* action = qobject_cast<QAction*>(m_object))
        return action->text();
    return {};
}

void NamedControl::setCaption(const QString& caption)
{
    if (!hasCaption())
        return;
    if (auto* box = qobject_cast<QGroupBox*>(m_object))
        box->setTitle(caption);
    else if (auto* label = qobject_cast<QLabel*>(m_object))
        label->setText(caption);
    else if (auto* button = qobject_cast<QAbstractButton*>(m_object))
        button->setText(caption);
    else if (auto* menu = qobject_cast<QMenu*>(m_object))
        menu->setTitle(caption);
    else if (auto* action = qobject_cast<QAction*>(m_object))
        action->setText(caption);
}

bool NamedControl::hasToolTip() const
{
    return widget() != nullptr && m_kind != ControlKind::Menu;
}

QString NamedControl::toolTip() const
{
    return hasToolTip() ? widget()->toolTip() : QString();
}

void NamedControl::setToolTip(const QString& toolTip)
{
    if (hasToolTip())
        widget()->setToolTip(toolTip);
}

bool NamedControl::hasAlignment() const
{
    return m_kind == ControlKind::Label || m_kind == ControlKind::TextBox ||
           m_kind == ControlKind::CheckBox;
}

void NamedControl::setAlignment(int alignment)
{
    if (!hasAlignment())
        return;
    m_alignment = alignment;
    applyAlignment();
}

void NamedControl::applyAlignment()
{
    // Absolute alignment, so that the right-to-left flag does not turn it over a second time.
    const Qt::Alignment horizontal =
        (m_alignment == 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignAbsolute;
    if (auto* label = qobject_cast<QLabel*>(m_object))
        label->setAlignment(horizontal | Qt::AlignVCenter);
    else if (auto* edit = qobject_cast<QLineEdit*>(m_object))
        edit->setAlignment(horizontal | Qt::AlignVCenter);
    else if (auto* check = qobject_cast<QCheckBox*>(m_object))
        // A right-justified check box carries its box on the right of the caption.
        check->setLayoutDirection(m_alignment == 1 ? Qt::RightToLeft : Qt::LeftToRight);
}

void NamedControl::setRightToLeft(bool rightToLeft)
{
    m_rightToLeft = rightToLeft;
    const Qt::LayoutDirection direction = rightToLeft ? Qt::RightToLeft : Qt::LeftToRight;
    if (auto* menu = qobject_cast<QMenu*>(m_object))
        menu->setLayoutDirection(direction);
    else if (auto* w = widget(); w && m_kind != ControlKind::CheckBox)
        w->setLayoutDirection(direction);
    if (hasAlignment())
        applyAlignment();
}

bool NamedControl::hasPosition() const
{
    return m_kind != ControlKind::Menu && m_kind != ControlKind::MenuItem;
}

void NamedControl::setLeft(double left)
{
    if (!hasPosition())
        return;
    m_twips.moveLeft(left);
    applyGeometry(m_tppX, m_tppY);
}

void NamedControl::applyGeometry(double twipsPerPixelX, double twipsPerPixelY)
{
    m_tppX = twipsPerPixelX;
    m_tppY = twipsPerPixelY;
    QWidget* w = widget();
    if (!w || !hasPosition())
        return;
    w->setGeometry(Twips::toPixels(m_twips.x(), m_tppX), Twips::toPixels(m_twips.y(), m_tppY),
                   Twips::toPixels(m_twips.width(), m_tppX),
                   Twips::toPixels(m_twips.height(), m_tppY));
}
