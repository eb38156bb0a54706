#include "OptionsPanel.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FolderExists.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"
#include "messenger/MessengerClient.h"
#include "platform/Dialogs.h"
#include "ui/main/PictureRotation.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

using Entry = Settings::Entry;

bool checked(const QCheckBox* box)
{
    return box->checkState() == Qt::Checked;
}

QString one(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

OptionsPanel::OptionsPanel(const Widgets& widgets, const Services& services,
                           PictureRotation* rotation, ErrorReporter report, QObject* parent)
    : QObject(parent), m_widgets(widgets), m_services(services), m_rotation(rotation),
      m_report(std::move(report))
{
    connect(m_widgets.apply, &QPushButton::clicked, this, &OptionsPanel::cmdoptions_Click);
    connect(m_widgets.browse, &QPushButton::clicked, this, &OptionsPanel::cmdPath_Click);
}

bool OptionsPanel::MessengerRunning() const
{
    return m_rotation->client() && m_rotation->client()->isRunning();
}

void OptionsPanel::cmdoptions_Click()
{
    if (!FolderExists(m_widgets.folder->text()))
        return;
    QList<std::pair<Entry, QString>> entries = {{Entry::TimerMinutes, m_widgets.minutes->text()},
                                                {Entry::TimerSeconds, m_widgets.seconds->text()}};

    // The log-on entry is looked after quietly: the stored choice is what the user set.
    const QString name = AppPaths::executableName();
    if (checked(m_widgets.startAtLogOn)) {
        if (m_services.autoRun)
            (void)m_services.autoRun->AddRunEntry(
                name, AutoRun::runEntryData(m_services.folders.programDir(), name));
        entries.append({Entry::AutoRun, QStringLiteral("1")});
    } else {
        if (m_services.autoRun)
            (void)m_services.autoRun->RemoveRunEntry(name);
        entries.append({Entry::AutoRun, QStringLiteral("0")});
    }
    entries.append({Entry::Random, one(checked(m_widgets.random))});
    entries.append({Entry::WinMode, one(checked(m_widgets.startHidden))});

    if (checked(m_widgets.rotationOn)) {
        if (m_rotation->pictureCount() > 0 && MessengerRunning()) {
            m_rotation->startFromFirstPicture();
            entries.append({Entry::Control, QStringLiteral("1")});
        }
    } else {
        entries.append({Entry::Control, QStringLiteral("0")});
        m_rotation->stopRotationTimer();
    }

    // Stored at once, in one replacement of the file.
    if (const Result<void> stored = m_services.settings->write(entries); !stored)
        m_report(stored.error());
}

std::optional<QString> OptionsPanel::BrowseForFolder(const QString& title)
{
    return m_services.dialogs->getExistingDirectory(m_widgets.folder->window(), title,
                                                    m_widgets.folder->text());
}

void OptionsPanel::cmdPath_Click()
{
    const std::optional<QString> folder = BrowseForFolder(QStringLiteral("Select Images Folder"));
    if (!folder)
        return;
    m_widgets.folder->setText(*folder);
    m_rotation->fillPictureList();
    if (const Result<void> stored =
            m_services.settings->write(Entry::ImagePath, m_widgets.folder->text());
        !stored)
        m_report(stored.error());
    cmdoptions_Click();
}
