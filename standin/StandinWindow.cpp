#include "StandinWindow.h"

#include "MessengerAccount.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace standin {

StandinWindow::StandinWindow(MessengerAccount* account, QWidget* parent)
    : QWidget(parent), m_account(account), m_user(new QLabel(this)), m_picture(new QLabel(this)),
      m_path(new QLabel(this)), m_counter(new QLabel(this)), m_contacts(new QTreeWidget(this))
{
    setWindowTitle(QStringLiteral("Messenger stand-in"));

    QFont bold = m_user->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    m_user->setFont(bold);
    m_user->setText(account->isSignedIn()
                        ? QStringLiteral("Signed in as %1").arg(account->signinName())
                        : QStringLiteral("Signed out"));

    const int side = MessengerAccount::PictureSide;
    m_picture->setFixedSize(side + 2, side + 2);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->setAlignment(Qt::AlignCenter);
    m_path->setWordWrap(true);
    m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_path->setMaximumWidth(side * 2);

    m_contacts->setColumnCount(2);
    m_contacts->setHeaderLabels({QStringLiteral("Sign-in name"), QStringLiteral("Nickname")});
    m_contacts->setRootIsDecorated(false);
    m_contacts->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_contacts->setMinimumWidth(360);

    auto* pictureColumn = new QVBoxLayout;
    pictureColumn->addWidget(new QLabel(QStringLiteral("Display picture"), this));
    pictureColumn->addWidget(m_picture);
    pictureColumn->addWidget(m_path);
    pictureColumn->addWidget(m_counter);
    pictureColumn->addStretch();

    auto* contactColumn = new QVBoxLayout;
    contactColumn->addWidget(new QLabel(QStringLiteral("Contacts"), this));
    contactColumn->addWidget(m_contacts);

    auto* columns = new QHBoxLayout;
    columns->addLayout(pictureColumn);
    columns->addLayout(contactColumn, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_user);
    layout->addLayout(columns);

    connect(account, &MessengerAccount::displayPictureChanged, this, &StandinWindow::showPicture);
    showPicture();
    fillContacts();
    resize(720, 360);
}

void StandinWindow::showPicture()
{
    const QImage& picture = m_account->displayPicture();
    const int side = MessengerAccount::PictureSide;
    if (picture.isNull()) {
        m_picture->setPixmap({});
        m_picture->setText(QStringLiteral("(no picture)"));
    } else {
        m_picture->setPixmap(QPixmap::fromImage(
            picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    }
    const QString path = m_account->displayPicturePath();
    m_path->setText(path.isEmpty() ? QStringLiteral("(none set)") : path);
    m_counter->setText(QStringLiteral("Changes: %1").arg(m_account->changeCount()));
}

void StandinWindow::fillContacts()
{
    m_contacts->clear();
    if (!m_account->isSignedIn())
        return;
    for (const Contact& contact : m_account->contacts().contacts())
        m_contacts->addTopLevelItem(
            new QTreeWidgetItem(QStringList{contact.signinName, contact.friendlyName}));
}

} // namespace standin
