#include "ContactLists.h"

#include "core/Twips.h"
#include "messenger/MessengerClient.h"
#include "platform/KeyboardLayout.h"
#include "ui/tools/ListClicks.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

// Selects the first item with exactly this text; a change of the current item runs the list's
// click handler at once.
void selectByText(QListWidget* list, const QString& text)
{
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->text() == text) {
            if (row != list->currentRow())
                list->setCurrentRow(row);
            return;
        }
    }
}

QString currentText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

void putOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace

ContactLists::ContactLists(QListWidget* emails, QListWidget* nicks, QPushButton* copy,
                           KeyboardLayout* keyboard, double twipsPerPixelX, double twipsPerPixelY,
                           QObject* parent)
    : QObject(parent), m_emails(emails), m_nicks(nicks), m_emailsViewport(emails->viewport()),
      m_nicksViewport(nicks->viewport()), m_keyboard(keyboard), m_tppX(twipsPerPixelX),
      m_tppY(twipsPerPixelY)
{
    connect(new ListClicks(m_emails), &ListClicks::clicked, this, &ContactLists::lstemails_Click);
    connect(new ListClicks(m_nicks), &ListClicks::clicked, this, &ContactLists::lstnick_Click);
    connect(copy, &QPushButton::clicked, this, &ContactLists::ccmdCopy_Click);
    for (QListWidget* list : {m_emails, m_nicks}) {
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
    }
}

Result<void> ContactLists::fill(MessengerClient* client, const QString& noClientReason)
{
    m_emails->hide();
    m_nicks->hide();
    {
        const QSignalBlocker blockEmails(m_emails);
        const QSignalBlocker blockNicks(m_nicks);
        m_emails->clear();
        m_nicks->clear();
    }
    const Result<QList<MessengerContact>> contacts =
        client ? client->myContacts() : Result<QList<MessengerContact>>(Failure{noClientReason});
    if (contacts) {
        for (const MessengerContact& contact : *contacts) {
            m_emails->addItem(contact.signinName);
            m_nicks->addItem(contact.friendlyName);
        }
    }
    m_emails->show();
    m_nicks->show();
    if (!contacts)
        return Failure{contacts.error()};
    return {};
}

void ContactLists::lstemails_Click()
{
    m_listSyncBusy = true;
    const int row = m_emails->currentRow();
    if (row >= 0 && row < m_nicks->count())
        selectByText(m_nicks, m_nicks->item(row)->text());
    m_listSyncBusy = false;
}

void ContactLists::lstnick_Click()
{
    if (m_listSyncBusy)
        return;
    switchKeyboardLayout();
    const int row = m_nicks->currentRow();
    if (row >= 0 && row < m_emails->count())
        selectByText(m_emails, m_emails->item(row)->text());
    putOnClipboard(currentText(m_nicks));
}

void ContactLists::ccmdCopy_Click()
{
    switchKeyboardLayout();
    putOnClipboard(currentText(m_nicks));
}

void ContactLists::switchKeyboardLayout()
{
    if (m_keyboard && m_keyboard->current() == KeyboardLayout::UsEnglish)
        m_keyboard->activateNext();
}

void ContactLists::lstemails_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    showToolTip(m_emails, x, y);
}

void ContactLists::lstnick_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    showToolTip(m_nicks, x, y);
}

void ContactLists::showToolTip(QListWidget* list, double x, double y)
{
    const int row = ItemUnderMouse(list, x, y);
    list->setToolTip(row >= 0 ? list->item(row)->text() : QString());
}

int ContactLists::ItemUnderMouse(QListWidget* list, double x, double y) const
{
    // Whole twips divided by whole twips per pixel, the fraction dropped.
    const qint64 perPixelX = std::max<qint64>(1, Twips::roundHalfEven(m_tppX));
    const qint64 perPixelY = std::max<qint64>(1, Twips::roundHalfEven(m_tppY));
    const QPoint point(static_cast<int>(Twips::roundHalfEven(x) / perPixelX),
                       static_cast<int>(Twips::roundHalfEven(y) / perPixelY));
    if (!list->viewport()->rect().contains(point))
        return -1;
    return list->indexAt(point).row();
}

bool ContactLists::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const double x = mouse->position().x() * m_tppX;
        const double y = mouse->position().y() * m_tppY;
        if (watched == m_emailsViewport)
            lstemails_MouseMove(mouse->buttons(), mouse->modifiers(), x, y);
        else if (watched == m_nicksViewport)
            lstnick_MouseMove(mouse->buttons(), mouse->modifiers(), x, y);
    }
    return QObject::eventFilter(watched, event);
}
