#include "ContactLists.h"

#include "core/language/Texts.h"
#include "messenger/MessengerClient.h"
#include "platform/KeyboardLayout.h"
#include "ui/forms/Twips.h"
#include "ui/tools/ListClicks.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

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

void putOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

} // namespace

ContactLists::ContactLists(QListWidget* emails, QListWidget* nicks, QPushButton* copy,
                           KeyboardLayout& keyboard, double twipsPerPixelX, double twipsPerPixelY,
                           QObject* parent)
    : QObject(parent), m_emails(emails), m_nicks(nicks), m_emailsViewport(emails->viewport()),
      m_nicksViewport(nicks->viewport()), m_keyboard(keyboard), m_tppX(twipsPerPixelX),
      m_tppY(twipsPerPixelY)
{
    connect(new ListClicks(m_emails), &ListClicks::clicked, this, &ContactLists::lstemails_Click);
    connect(new ListClicks(m_nicks), &ListClicks::clicked, this, &ContactLists::lstnick_Click);
    connect(copy, &QPushButton::clicked, this, &ContactLists::ccmdCopy_Click);
    for (QListWidget* list : {m_emails, m_nicks}) {
        // Rows of one height: a list of a hundred thousand is laid out at once.
        list->setUniformItemSizes(true);
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
    }
}

void ContactLists::fill(MessengerClient* client, const QString& noClientReason,
                        const std::function<void(const QString&)>& failed)
{
    const quint64 filling = ++m_filling;
    m_contacts.clear();
    for (QListWidget* list : {m_emails, m_nicks}) {
        const QSignalBlocker block(list);
        list->clear();
        // A sign that the lists wait for the client's answer.
        list->addItem(Texts::text(Text::WaitingForClient));
        list->item(0)->setFlags(Qt::NoItemFlags);
        list->setCursor(Qt::BusyCursor);
    }
    auto answered = [this, filling, failed](const Result<QList<MessengerContact>>& contacts) {
        if (filling != m_filling)
            return; // asked again meanwhile
        for (QListWidget* list : {m_emails, m_nicks}) {
            const QSignalBlocker block(list);
            list->clear();
            list->unsetCursor();
        }
        if (!contacts)
            return failed(contacts.error());
        m_contacts = *contacts;
        show(0);
    };
    if (client)
        client->myContacts(answered);
    else
        answered(Failure{noClientReason});
}

void ContactLists::show(qsizetype from)
{
    // A long list goes in by slices, so that the window is never held up for long; a name no
    // one could read whole is cut, as it would otherwise hold up every drawing of the list.
    constexpr qsizetype Slice = 20000;
    const auto cut = [](const QString& name) {
        return name.size() > LongestName ? name.left(LongestName - 1) + QChar(0x2026) : name;
    };
    const qsizetype to = std::min(from + Slice, m_contacts.size());
    QStringList emails, nicks;
    for (qsizetype i = from; i < to; ++i) {
        emails.append(cut(m_contacts.at(i).signinName));
        nicks.append(cut(m_contacts.at(i).friendlyName));
    }
    m_emails->addItems(emails);
    m_nicks->addItems(nicks);
    if (to < m_contacts.size())
        QTimer::singleShot(0, this, [this, to, filling = m_filling] {
            if (filling == m_filling)
                show(to);
        });
}

QString ContactLists::nickname(int row) const
{
    return row >= 0 && row < m_contacts.size() ? m_contacts.at(row).friendlyName : QString();
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
    putOnClipboard(nickname(m_nicks->currentRow()));
}

void ContactLists::ccmdCopy_Click()
{
    switchKeyboardLayout();
    putOnClipboard(nickname(m_nicks->currentRow()));
}

void ContactLists::switchKeyboardLayout()
{
    if (m_keyboard.current() == KeyboardLayout::UsEnglish)
        m_keyboard.activateNext();
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
