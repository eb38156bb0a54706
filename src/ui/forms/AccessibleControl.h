#pragma once

#include <QAccessibleWidget>

// What a screen reader is told about a control where Qt's own description misses it: the role
// the control plays (a window, a link, a picture, a list box), its name (the accessible name, else
// the caption, the title or a list box's entry, which is also its value), and only the controls
// that are shown: a field the window keeps hidden is not there.
class AccessibleControl : public QAccessibleWidget
{
public:
    AccessibleControl(QWidget* widget, QAccessible::Role role);

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;

private:
    QList<QWidget*> shownChildren() const;
};
