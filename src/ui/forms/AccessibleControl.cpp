#include "AccessibleControl.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>

AccessibleControl::AccessibleControl(QWidget* widget, QAccessible::Role role)
    : QAccessibleWidget(widget, role)
{
}

QString AccessibleControl::text(QAccessible::Text t) const
{
    const QWidget* shown = widget();
    const auto* box = qobject_cast<const QComboBox*>(shown);
    if (t == QAccessible::Name && shown->accessibleName().isEmpty()) {
        if (const auto* label = qobject_cast<const QLabel*>(shown))
            return label->text();
        if (box)
            return box->currentText();
    }
    if (t == QAccessible::Value && box)
        return box->currentText();
    // The accessible name, a window's title, a tooltip as the description.
    return QAccessibleWidget::text(t);
}

QList<QWidget*> AccessibleControl::shownChildren() const
{
    // As Qt lists a widget's children (no windows, menus or focus frames), less the hidden ones;
    // a list box's list comes first, open or not.
    QList<QWidget*> shown;
    if (const auto* box = qobject_cast<const QComboBox*>(widget()))
        shown.append(box->view());
    for (QObject* object : widget()->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child && !child->isWindow() && !child->isHidden() && !qobject_cast<QMenu*>(child) &&
            !qobject_cast<QFocusFrame*>(child))
            shown.append(child);
    }
    return shown;
}

int AccessibleControl::childCount() const
{
    return int(shownChildren().size());
}

QAccessibleInterface* AccessibleControl::child(int index) const
{
    const QList<QWidget*> shown = shownChildren();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
}

int AccessibleControl::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child)
        return -1;
    return int(shownChildren().indexOf(qobject_cast<QWidget*>(child->object())));
}

QStringList AccessibleControl::actionNames() const
{
    QStringList names = QAccessibleWidget::actionNames();
    if (role() == QAccessible::Link)
        names.prepend(pressAction());
    else if (role() == QAccessible::ComboBox)
        names.prepend(showMenuAction());
    return names;
}

void AccessibleControl::doAction(const QString& actionName)
{
    if (role() == QAccessible::Link && actionName == pressAction()) {
        // A link opens its page on Enter, as it does for the keyboard.
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(widget(), &enter);
    } else if (role() == QAccessible::ComboBox && actionName == showMenuAction()) {
        static_cast<QComboBox*>(widget())->showPopup();
    } else {
        QAccessibleWidget::doAction(actionName);
    }
}
