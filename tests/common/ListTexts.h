#pragma once

#include <QListWidget>
#include <QStringList>

// The texts of a list widget's rows, in order.
inline QStringList listTexts(const QListWidget* list)
{
    QStringList result;
    for (int row = 0; row < list->count(); ++row)
        result.append(list->item(row)->text());
    return result;
}
