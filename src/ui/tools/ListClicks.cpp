#include "ListClicks.h"

#include <QEvent>
#include <QListWidget>

ListClicks::ListClicks(QListWidget* list) : QObject(list), m_viewport(list->viewport())
{
    connect(list, &QListWidget::currentRowChanged, this, &ListClicks::rowChanged);
    connect(list, &QListWidget::clicked, this, &ListClicks::mouseClicked);
    list->viewport()->installEventFilter(this);
}

bool ListClicks::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_viewport && event->type() == QEvent::MouseButtonPress)
        m_sentAtPress = m_sent;
    return QObject::eventFilter(watched, event);
}

void ListClicks::rowChanged(int row)
{
    if (row < 0)
        return;
    ++m_sent;
    emit clicked();
}

void ListClicks::mouseClicked()
{
    if (m_sent != m_sentAtPress)
        return;
    ++m_sent;
    emit clicked();
}
