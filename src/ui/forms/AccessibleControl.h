#pragma once

#include <QAccessibleWidget>

// What a screen reader is told about a control where Qt's own description misses it: the role
// the control plays (a window, a link, a picture, a list box), its name from what the user reads
// (the accessible name, else the caption or the title; a list box is named by its purpose, not
// by its current entry, which is its value), and only the controls that are shown: a field the
// window keeps hidden is not there.
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
