#include "RotationController.h"

#include "core/language/LanguageSupport.h"
#include "messenger/MessengerClient.h"
#include "platform/DesktopNotifier.h"
#include "ui/main/NotificationArea.h"
#include "ui/main/PictureRotation.h"

#include <QAction>
#include <QMenu>

RotationController::RotationController(PictureRotation* rotation,
                                       NotificationArea* notificationArea, const MenuItems& items,
                                       LanguageSupport* language, DesktopNotifier* notifier,
                                       std::chrono::milliseconds outageNoticeAfter, QObject* parent)
    : RotationControl(parent), m_rotation(rotation), m_notificationArea(notificationArea),
      m_items(items), m_language(language), m_notifier(notifier),
      m_outage(outageNoticeAfter,
               [this](bool outage, const QString& why) { tellOutage(outage, why); })
{
    connect(m_rotation, &PictureRotation::pictureSent, this, [this](const QString& path) {
        m_current = path;
        const bool failedBefore = !m_lastError.isEmpty();
        m_lastError.clear();
        m_outage.reached();
        emit pictureChanged(path);
        if (failedBefore)
            emit stateChanged();
    });
    connect(m_rotation, &PictureRotation::sendFailed, this, [this](const QString& why) {
        m_lastError = why;
        m_outage.failed(why);
        emit stateChanged();
    });
    connect(m_rotation, &PictureRotation::pausedChanged, this, &RotationControl::stateChanged);
    connect(this, &RotationControl::stateChanged, this, &RotationController::updateMenu);
    connect(m_items.next, &QAction::triggered, this, &RotationController::next);
    connect(m_items.pause, &QAction::triggered, this, [this] { paused() ? resume() : pause(); });
    // The client may have come or gone since: the menu says who takes the pictures now.
    connect(m_items.menu, &QMenu::aboutToShow, this, &RotationController::updateMenu);
    m_items.status->setEnabled(false);
    updateMenu();
}

void RotationController::next()
{
    m_rotation->next();
}

void RotationController::pause()
{
    m_rotation->pause();
}

void RotationController::resume()
{
    m_rotation->resume();
}

void RotationController::show()
{
    m_notificationArea->mnuopen_Click();
}

QString RotationController::folder() const
{
    return m_rotation->folder();
}

bool RotationController::paused() const
{
    return m_rotation->isPaused();
}

QString RotationController::client() const
{
    const MessengerClient* client = m_rotation->client();
    return client ? client->name() : QString();
}

QString RotationController::text(const char* id, const char* english) const
{
    const QString translated =
        m_language ? m_language->GetLangString(QLatin1String(id)) : QString();
    return translated.isEmpty() ? QString::fromUtf8(english) : translated;
}

QString RotationController::clientName() const
{
    const QString name = client();
    return name == QLatin1String("MessengerAPI") ? QStringLiteral("Messenger") : name;
}

void RotationController::updateMenu()
{
    m_items.next->setText(text("0005", "Next Picture"));
    m_items.pause->setText(paused() ? text("0007", "Resume Rotation")
                                    : text("0006", "Pause Rotation"));
    QString status = clientName().isEmpty()
                         ? text("0009", "No Messenger client receives the pictures.")
                         : text("0008", "Pictures go to %1.").arg(clientName());
    if (!m_lastError.isEmpty())
        status += QLatin1Char(' ') + text("0010", "Last failure: %1").arg(m_lastError);
    m_items.status->setText(status);
}

void RotationController::tellOutage(bool outage, const QString& why)
{
    if (!m_notifier)
        return;
    const QString name = clientName().isEmpty() ? QStringLiteral("Messenger") : clientName();
    m_notifier->notify(
        QStringLiteral("Dorvane"),
        outage ? text("0011", "Pictures have not reached %1 for a while: %2").arg(name, why)
               : text("0012", "Pictures reach %1 again.").arg(name));
}
