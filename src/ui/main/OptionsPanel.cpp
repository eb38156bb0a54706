#include "OptionsPanel.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FolderExists.h"
#include "core/language/Texts.h"
#include "core/rotation/Rotation.h"
#include "core/settings/AutoRun.h"
#include "core/settings/Settings.h"
#include "platform/Dialogs.h"
#include "ui/main/IntervalFields.h"

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

OptionsPanel::OptionsPanel(const Widgets& widgets, const Services& services, Rotation& rotation,
                           ErrorReporter report, QObject* parent)
    : QObject(parent), m_widgets(widgets), m_services(services), m_rotation(rotation),
      m_report(std::move(report))
{
    connect(m_widgets.apply, &QPushButton::clicked, this, &OptionsPanel::cmdoptions_Click);
    connect(m_widgets.browse, &QPushButton::clicked, this, &OptionsPanel::cmdPath_Click);
}

void OptionsPanel::cmdoptions_Click()
{
    const QString folder = m_widgets.folder->text();
    if (!FolderExists(folder))
        return;
    // A folder typed into the box is taken as if it had been chosen.
    if (folder != m_rotation.folder())
        takeFolder(folder);
    QList<std::pair<Entry, QString>> entries = {{Entry::TimerMinutes, m_widgets.minutes->text()},
                                                {Entry::TimerSeconds, m_widgets.seconds->text()}};

    // A log-on entry that cannot be written or removed is reported; the stored choice is what
    // the user set all the same.
    const QString name = AppPaths::executableName();
    const bool atLogOn = checked(m_widgets.startAtLogOn);
    const Result<void> entry =
        atLogOn ? m_services.autoRun.AddRunEntry(
                      name, AutoRun::runEntryData(m_services.folders.programDir(), name))
                : m_services.autoRun.RemoveRunEntry(name);
    if (!entry)
        m_report(entry.error());
    entries.append({Entry::AutoRun, one(atLogOn)});
    entries.append({Entry::Random, one(checked(m_widgets.random))});
    entries.append({Entry::WinMode, one(checked(m_widgets.startHidden))});

    // Started: "on" is stored; without pictures or a client the stored choice stays as it was.
    const qint64 interval =
        IntervalFields::intervalMs(m_widgets.minutes->text(), m_widgets.seconds->text());
    switch (m_rotation.apply(checked(m_widgets.rotationOn), interval)) {
    case Rotation::Applied::Started:
        entries.append({Entry::Control, QStringLiteral("1")});
        break;
    case Rotation::Applied::Stopped:
        entries.append({Entry::Control, QStringLiteral("0")});
        break;
    case Rotation::Applied::Unchanged:
        break;
    }

    // Stored at once, in one replacement of the file.
    if (const Result<void> stored = m_services.settings.write(entries); !stored)
        m_report(stored.error());
}

std::optional<QString> OptionsPanel::BrowseForFolder(const QString& title)
{
    return m_services.dialogs.getExistingDirectory(m_widgets.folder->window(), title,
                                                   m_widgets.folder->text());
}

void OptionsPanel::cmdPath_Click()
{
    const std::optional<QString> folder = BrowseForFolder(Texts::text(Text::SelectFolder));
    if (!folder)
        return;
    m_widgets.folder->setText(*folder);
    takeFolder(*folder);
    cmdoptions_Click();
}

void OptionsPanel::takeFolder(const QString& folder)
{
    m_rotation.setFolder(folder);
    if (const Result<void> stored = m_services.settings.write(Entry::ImagePath, folder); !stored)
        m_report(stored.error());
}
