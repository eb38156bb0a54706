#include "Accessibility.h"

#include "ui/forms/AccessibleControl.h"
#include "ui/forms/Form.h"
#include "ui/widgets/ImageControl.h"

#include <QComboBox>
#include <QLabel>

namespace Accessibility {

namespace {

constexpr char LinkProperty[] = "dorvaneLink";

QAccessibleInterface* describe(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    // Qt tells a window that is neither a main window nor a dialog as a bare pane ("filler").
    if (qobject_cast<Form*>(widget) && widget->isWindow())
        return new AccessibleControl(widget, QAccessible::Window);
    if (qobject_cast<ImageControl*>(widget))
        return new AccessibleControl(widget, QAccessible::Graphic);
    if (widget->property(LinkProperty).toBool())
        return new AccessibleControl(widget, QAccessible::Link);
    // Qt names a list box by its current entry even when it has a name of its own.
    if (qobject_cast<QComboBox*>(widget) && qobject_cast<Form*>(widget->window()))
        return new AccessibleControl(widget, QAccessible::ComboBox);
    return nullptr;
}

// Qt keeps the description it made for an object; one made before the object was marked is
// dropped so that the next one asked for is ours.
void describeAnew(QObject* object)
{
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(object))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace

void install()
{
    // Qt installs a factory once however often it is handed over.
    QAccessible::installFactory(&describe);
}

void announceAsLink(QLabel* label)
{
    label->setProperty(LinkProperty, true);
    describeAnew(label);
}

} // namespace Accessibility
