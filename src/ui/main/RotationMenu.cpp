#include "RotationMenu.h"

#include "core/language/BidiIsolate.h"
#include "core/language/Texts.h"
#include "core/rotation/Rotation.h"
#include "platform/DesktopNotifier.h"
#include "ui/main/NotificationArea.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

namespace {

// A destination as the user knows it: the Messenger client by the program's name, not its bus's.
QString shownName(const QString& destination)
{
    return destination.isEmpty() || destination == QLatin1String("MessengerAPI")
               ? QStringLiteral("Messenger")
               : destination;
}

} // namespace

RotationMenu::RotationMenu(Rotation& rotation, const Items& items,
                           NotificationArea* notificationArea, DesktopNotifier& notifier,
                           QObject* parent)
    : QObject(parent), m_rotation(rotation), m_items(items), m_notificationArea(notificationArea),
      m_notifier(notifier)
{
    connect(&m_rotation, &Rotation::stateChanged, this, &RotationMenu::update);
    connect(&m_rotation, &Rotation::outageNoticed, this, &RotationMenu::tellOutage);
    connect(m_items.next, &QAction::triggered, &m_rotation, &Rotation::next);
    // Refused only at the oldest picture, or while rotation is off, when the item is disabled:
    // a refusal here is a fault of the menu's own.
    const auto refusedIf = [](const Result<void>& done) {
        if (!done)
            qWarning("Dorvane: a disabled item was carried out: %s", qPrintable(done.error()));
    };
    connect(m_items.previous, &QAction::triggered, this,
            [this, refusedIf] { refusedIf(m_rotation.previous()); });
    connect(m_items.pause, &QAction::triggered, this, [this, refusedIf] {
        refusedIf(m_rotation.isPaused() ? m_rotation.resume() : m_rotation.pause());
    });
    m_items.status->setEnabled(false);
    m_items.line->setWordWrap(true);
    update();
}

QString RotationMenu::receivers() const
{
    QStringList names;
    for (const Destinations::Status& each : m_rotation.destinations()) {
        if (each.failure.isEmpty())
            names.append(bidiIsolated(shownName(each.name)));
    }
    return names.join(QStringLiteral(", "));
}

QString RotationMenu::statusLine() const
{
    QStringList parts;
    switch (m_rotation.why()) {
    case Rotation::Why::Off:
        parts.append(Texts::text(Text::RotationOff));
        break;
    case Rotation::Why::NoFolder:
        parts.append(Texts::text(Text::NoPictureFolder));
        break;
    case Rotation::Why::NoPictures:
        parts.append(Texts::text(Text::NoPictures));
        break;
    case Rotation::Why::NoClient:
        parts.append(Texts::text(Text::WaitingForAClient));
        break;
    case Rotation::Why::Nothing:
        if (m_rotation.isPaused())
            parts.append(Texts::text(Text::RotationPaused));
        break;
    }
    if (const QString to = receivers(); m_rotation.why() != Rotation::Why::NoClient)
        parts.append(to.isEmpty() ? Texts::text(Text::NoClientReceives)
                                  : Texts::text(Text::PicturesGoTo).arg(to));
    if (!m_rotation.isFollowingFolder())
        parts.append(Texts::text(Text::FolderNotFollowed));
    if (!m_rotation.lastError().isEmpty())
        parts.append(Texts::text(Text::LastFailure).arg(bidiIsolated(m_rotation.lastError())));
    return parts.join(QLatin1Char(' '));
}

void RotationMenu::update()
{
    m_items.next->setText(Texts::text(Text::NextPicture));
    m_items.previous->setText(Texts::text(Text::PreviousPicture));
    m_items.previous->setEnabled(m_rotation.canGoBack());
    m_items.pause->setText(m_rotation.isPaused() ? Texts::text(Text::ResumeRotation)
                                                 : Texts::text(Text::PauseRotation));
    m_items.pause->setEnabled(m_rotation.isOn());
    const QString line = statusLine();
    m_items.status->setText(line);
    m_items.line->setText(line);
    m_notificationArea->showState(m_rotation.isPaused(), line);
}

void RotationMenu::tellOutage(bool outage, const QString& why, const QString& client)
{
    const QString name = shownName(client);
    m_notifier.notify(
        QStringLiteral("Dorvane"),
        outage ? Texts::text(Text::OutageBegins).arg(bidiIsolated(name), bidiIsolated(why))
               : Texts::text(Text::OutageEnds).arg(bidiIsolated(name)));
}
