#pragma once

#include <QObject>

class QListWidget;

// The click of a list box as the windows' handlers expect it: once for every change of the
// current item, whether the user or the code made it, and once for a mouse click on the item
// that already was the current one. Clearing the list (no current item) is not a click.
class ListClicks : public QObject
{
    Q_OBJECT
public:
    explicit ListClicks(QListWidget* list);

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rowChanged(int row);
    void mouseClicked();

    // Kept for comparison only: the viewport's last events arrive while the list is being
    // destroyed, when none of the list's own functions may be called any more.
    const QObject* m_viewport;
    // Counts the clicks sent, so that a mouse click that already changed the row sends no
    // second one.
    quint64 m_sent = 0;
    quint64 m_sentAtPress = 0;
};
