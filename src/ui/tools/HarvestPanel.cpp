#include "HarvestPanel.h"

#include "core/fs/AppPaths.h"
#include "core/fs/FileCopy.h"
#include "core/fs/FileList.h"
#include "core/fs/FolderCopy.h"
#include "core/fs/FolderExists.h"
#include "core/fs/HarvestFolder.h"
#include "core/language/Texts.h"
#include "messenger/MessengerApi.h"
#include "messenger/MessengerClient.h"
#include "platform/Dialogs.h"
#include "ui/tools/ListClicks.h"
#include "ui/tools/ToolsHost.h"
#include "ui/widgets/ShowPictureFile.h"

#include <QListWidget>
#include <QPushButton>

HarvestPanel::HarvestPanel(const Widgets& widgets, ToolsHost& host, Dialogs& dialogs,
                           QWidget* window, QObject* parent)
    : QObject(parent), m_widgets(widgets), m_host(host), m_dialogs(dialogs), m_window(window),
      m_report(dialogs, window, QStringLiteral("Dorvane"))
{
    // Each click toggles one picture.
    m_widgets.list->setSelectionMode(QAbstractItemView::MultiSelection);
    connect(new ListClicks(m_widgets.list), &ListClicks::clicked, this,
            &HarvestPanel::lstimages_Click);
    connect(m_widgets.getImages, &QPushButton::clicked, this, &HarvestPanel::cmdGetimg_Click);
    connect(m_widgets.add, &QPushButton::clicked, this, &HarvestPanel::cmdadd_Click);
}

void HarvestPanel::copyCache(MessengerClient* client, const std::function<void()>& then)
{
    const QString harvest = AppPaths::harvestDir();
    if (const Result<void> ready = HarvestFolder::prepare(harvest); !ready) {
        m_report(HarvestFolder::belongsToAnotherUser(harvest)
                     ? Texts::text(Text::HarvestFolderOfOtherUser).arg(harvest)
                     : ready.error());
        if (then)
            then();
        return;
    }
    auto copy = [this, harvest, then](const Result<QString>& cache) {
        // What an earlier harvest left would be listed as this one's.
        QStringList failures = HarvestFolder::removeCopies(harvest);
        // A missing cache lists no file, like an empty one.
        const QString folder = cache.valueOr(QString());
        int number = 1;
        for (const QString& name : FileList::list(folder, QStringLiteral("*.*"))) {
            ++number;
            const Result<void> copied =
                FileCopy::replace(AppPaths::join(folder, name),
                                  AppPaths::join(harvest, HarvestFolder::copyName(number)));
            if (!copied)
                failures.append(QStringLiteral("%1: %2").arg(name, copied.error()));
        }
        if (!failures.isEmpty())
            m_report(Texts::text(Text::CachedNotCopied) + QLatin1Char('\n') +
                     failures.join(QLatin1Char('\n')));
        if (then)
            then();
    };
    if (client)
        client->cacheFolder(copy);
    else
        copy(MessengerApi::cacheFolder());
}

void HarvestPanel::cmdGetimg_Click()
{
    QListWidget* list = m_widgets.list;
    list->hide();
    {
        const QSignalBlocker block(list);
        list->clear();
    }
    const QString harvest = AppPaths::harvestDir();
    // A refused folder was reported by "Get Data"; nothing is read from it.
    if (HarvestFolder::isReady(harvest)) {
        for (const QString& name : FileList::list(harvest, QStringLiteral("*.*"))) {
            // A file the reader cannot read, or whose depth overflows, is no listed picture.
            if (m_reader.ReadImageInfo(AppPaths::join(harvest, name)) &&
                m_reader.ImageWidth() == PictureSize && m_reader.ImageHeight() == PictureSize)
                list->addItem(name);
        }
    }
    list->show();
    lstimages_Click();
}

void HarvestPanel::lstimages_Click()
{
    const QString harvest = AppPaths::harvestDir();
    const QListWidgetItem* item = m_widgets.list->currentItem();
    // Without a current item there is no picture to show; the preview stays as it was.
    if (!item || item->text().isEmpty() || !HarvestFolder::isReady(harvest))
        return;
    // A picture that cannot be decoded leaves the preview as it was.
    ShowPictureFile(AppPaths::join(harvest, item->text()), m_widgets.preview);
}

void HarvestPanel::cmdadd_Click()
{
    const QString folder = m_host.pictureFolder();
    const QString harvest = AppPaths::harvestDir();
    const bool folderExists = !folder.isEmpty() && FolderExists(folder);
    int selected = 0;
    int copied = 0;
    QStringList failures;
    for (int row = 0; row < m_widgets.list->count(); ++row) {
        const QListWidgetItem* item = m_widgets.list->item(row);
        if (!item->isSelected())
            continue;
        ++selected;
        if (!folderExists)
            continue;
        // Never over a picture of the user's: an earlier dvn5.jpg may be another contact's.
        const Result<QString> added =
            FolderCopy::add(AppPaths::join(harvest, item->text()), folder, item->text());
        if (added)
            ++copied;
        else
            failures.append(QStringLiteral("%1: %2").arg(item->text(), added.error()));
    }

    if (selected != 0 && !folderExists) {
        m_report(Texts::text(Text::NoPictureFolderToAdd).arg(folder));
    } else if (!failures.isEmpty()) {
        m_report(Texts::text(Text::PicturesNotAdded) + QLatin1Char('\n') +
                 failures.join(QLatin1Char('\n')));
    }

    if (selected != 0) {
        m_dialogs.message(
            m_window, Dialogs::Icon::Information, Texts::text(Text::PicturesAddedTitle),
            QString::number(copied) + QStringLiteral("  ") + Texts::text(Text::PicturesAddedCount));
    } else {
        m_dialogs.message(m_window, Dialogs::Icon::None, QStringLiteral("Dorvane"),
                          Texts::text(Text::SelectPicturesFirst));
    }

    if (folderExists)
        m_host.picturesAdded();
}
