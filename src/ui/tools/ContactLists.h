#pragma once

#include "messenger/MessengerClient.h"

#include <QObject>

#include <functional>

class KeyboardLayout;
class QListWidget;
class QPushButton;

// The two parallel contact lists of the contact tools window: sign-in names and nicknames. A
// click on either selects the same row in the other; a nickname clicked or copied goes onto the
// clipboard, and the keyboard is switched away from US English for the text the user types next.
// The pointer over a row shows its whole text.
class ContactLists : public QObject
{
    Q_OBJECT
public:
    // Twips per pixel of the window, for the positions the mouse handlers are given.
    ContactLists(QListWidget* emails, QListWidget* nicks, QPushButton* copy,
                 KeyboardLayout& keyboard, double twipsPerPixelX, double twipsPerPixelY,
                 QObject* parent = nullptr);

    // Longest name shown in full; a longer one is cut, with an ellipsis.
    static constexpr int LongestName = 200;

    // Fills both lists from the client once it answers, showing meanwhile that they wait; when it
    // gives no contacts (`noClientReason` when there is no client) the lists stay empty and
    // `failed` is told why.
    void fill(MessengerClient* client, const QString& noClientReason,
              const std::function<void(const QString&)>& failed);

    void lstemails_Click();
    void lstnick_Click();
    void ccmdCopy_Click();
    void lstemails_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, double x,
                             double y);
    void lstnick_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, double x,
                           double y);
    // The row under a point given in twips relative to the list's inside, -1 when none.
    int ItemUnderMouse(QListWidget* list, double x, double y) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show(qsizetype from);
    QString nickname(int row) const;
    void switchKeyboardLayout();
    void showToolTip(QListWidget* list, double x, double y);

    QListWidget* m_emails;
    QListWidget* m_nicks;
    // Kept for comparison only: their last events arrive while the lists are being destroyed.
    const QObject* m_emailsViewport;
    const QObject* m_nicksViewport;
    KeyboardLayout& m_keyboard;
    double m_tppX;
    double m_tppY;
    bool m_listSyncBusy = false;
    // The contacts shown, whole: a cut nickname is copied in full. A newer filling wins over an
    // older one still under way.
    QList<MessengerContact> m_contacts;
    quint64 m_filling = 0;
};
