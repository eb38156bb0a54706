#pragma once

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace standin {

class MessengerAccount;

// Shows who is signed in, the current display picture with its path and a change counter,
// and the contacts, so that a person can watch what the program asks of the client.
class StandinWindow : public QWidget
{
    Q_OBJECT

public:
    explicit StandinWindow(MessengerAccount* account, QWidget* parent = nullptr);

    QLabel* pictureLabel() const { return m_picture; }
    QLabel* pathLabel() const { return m_path; }
    QLabel* counterLabel() const { return m_counter; }
    QTreeWidget* contactView() const { return m_contacts; }

private:
    void showPicture();
    void fillContacts();

    MessengerAccount* m_account;
    QLabel* m_user;
    QLabel* m_picture;
    QLabel* m_path;
    QLabel* m_counter;
    QTreeWidget* m_contacts;
};

} // namespace standin
