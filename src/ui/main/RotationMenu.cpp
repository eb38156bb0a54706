#include "RotationMenu.h"

#include "core/language/BidiIsolate.h"
#include "core/language/LanguageSupport.h"
#include "core/rotation/Rotation.h"
#include "platform/DesktopNotifier.h"
#include "ui/main/NotificationArea.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

RotationMenu::RotationMenu(Rotation& rotation, const Items& items,
                           NotificationArea* notificationArea, LanguageSupport& language,
                           DesktopNotifier& notifier, QObject* parent)
    : QObject(parent), m_rotation(rotation), m_items(items), m_notificationArea(notificationArea),
      m_language(language), m_notifier(notifier)
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

QString RotationMenu::text(const char* id, const char* english) const
{
    const QString translated = m_language.GetLangString(QLatin1String(id));
    return translated.isEmpty() ? QString::fromUtf8(english) : translated;
}

QString RotationMenu::clientName() const
{
    const QString name = m_rotation.client();
    return name == QLatin1String("MessengerAPI") ? QStringLiteral("Messenger") : name;
}

QString RotationMenu::statusLine() const
{
    QStringList parts;
    switch (m_rotation.why()) {
    case Rotation::Why::Off:
        parts.append(text("0041", "Rotation is off."));
        break;
    case Rotation::Why::NoFolder:
        parts.append(text("0042", "The picture folder cannot be found."));
        break;
    case Rotation::Why::NoPictures:
        parts.append(text("0043", "The picture folder has no pictures."));
        break;
    case Rotation::Why::NoClient:
        parts.append(text("0044", "Waiting for a Messenger client."));
        break;
    case Rotation::Why::Nothing:
        if (m_rotation.isPaused())
            parts.append(text("0045", "Rotation is paused."));
        break;
    }
    if (m_rotation.why() != Rotation::Why::NoClient)
        parts.append(clientName().isEmpty()
                         ? text("0009", "No Messenger client receives the pictures.")
                         : text("0008", "Pictures go to %1.").arg(bidiIsolated(clientName())));
    if (!m_rotation.isFollowingFolder())
        parts.append(text("0046", "The folder is looked at every few seconds (no file watches "
                                  "left)."));
    if (!m_rotation.lastError().isEmpty())
        parts.append(text("0010", "Last failure: %1").arg(bidiIsolated(m_rotation.lastError())));
    return parts.join(QLatin1Char(' '));
}

void RotationMenu::update()
{
    m_items.next->setText(text("0005", "Next Picture"));
    m_items.previous->setText(text("0040", "Previous Picture"));
    m_items.previous->setEnabled(m_rotation.canGoBack());
    m_items.pause->setText(m_rotation.isPaused() ? text("0007", "Resume Rotation")
                                                 : text("0006", "Pause Rotation"));
    m_items.pause->setEnabled(m_rotation.isOn());
    const QString line = statusLine();
    m_items.status->setText(line);
    m_items.line->setText(line);
    m_notificationArea->showState(m_rotation.isPaused(), line);
}

void RotationMenu::tellOutage(bool outage, const QString& why, const QString& client)
{
    const QString name = client.isEmpty() || client == QLatin1String("MessengerAPI")
                             ? QStringLiteral("Messenger")
                             : client;
    m_notifier.notify(QStringLiteral("Dorvane"),
                      outage ? text("0011", "Pictures have not reached %1 for a while: %2")
                                   .arg(bidiIsolated(name), bidiIsolated(why))
                             : text("0012", "Pictures reach %1 again.").arg(bidiIsolated(name)));
}
