#include "FrmTools.h"

#include "common/AppPaths.h"
#include "common/Dialogs.h"
#include "common/ImageControl.h"
#include "common/Twips.h"
#include "language/LanguageSupport.h"
#include "language/Mirroring.h"
#include "main/FolderExists.h"
#include "main/FrmMine.h"
#include "picture/ShowPictureFile.h"
#include "settings/Colors.h"
#include "settings/Settings.h"
#include "tools/FileCopy.h"
#include "tools/HarvestFolder.h"
#include "tools/KeyboardLayout.h"
#include "tools/ListClicks.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>

#include <algorithm>

const QString FrmTools::Title = QStringLiteral("Dorvane");

FrmTools::FrmTools(FrmMine* mainWindow, const MainServices& services, QWidget* parent)
    : Form(QStringLiteral("frmTools"), QSizeF(ClientWidth, ClientHeight), parent),
      m_main(mainWindow), m_services(services)
{
    setWindowTitle(Title);
    buildWidgets();
    connectHandlers();
}

FrmTools::~FrmTools()
{
    Form_Unload();
}

void FrmTools::buildWidgets()
{
    lblemails =
        addLabel(QStringLiteral("lblemails"), QStringLiteral("Emails :"), {840, 240, 540, 195});
    lblNackName = addLabel(QStringLiteral("lblNackName"), QStringLiteral("Nick Names  :"),
                           {3240, 240, 1005, 195});
    lstemails = addListBox(QStringLiteral("lstemails"), {120, 600, 2295, 6300});
    lstnick = addListBox(QStringLiteral("lstnick"), {2640, 600, 2415, 6300});
    cmdadd = addButton(QStringLiteral("cmdadd"), QStringLiteral("Add"), {5760, 240, 1215, 375});
    imgshow = addImage(QStringLiteral("imgshow"), {5760, 840, 1200, 1200});
    lstimages = addListBox(QStringLiteral("lstimages"), {5280, 2160, 2175, 4785});
    cmdGetdata =
        addButton(QStringLiteral("cmdGetdata"), QStringLiteral("Get Data"), {360, 7080, 1815, 375});
    ccmdCopy =
        addButton(QStringLiteral("ccmdCopy"), QStringLiteral("Copy"), {3000, 7080, 1815, 375});
    cmdGetimg = addButton(QStringLiteral("cmdGetimg"), QStringLiteral("Get Images"),
                          {5520, 7080, 1815, 375});
    addFileList(QStringLiteral("Files"), QRectF());

    lstemails->setSelectionMode(QAbstractItemView::SingleSelection);
    lstnick->setSelectionMode(QAbstractItemView::SingleSelection);
    // Each click toggles one picture.
    lstimages->setSelectionMode(QAbstractItemView::MultiSelection);
    // The sign-in names keep their alignment when the window is mirrored.
    control(QStringLiteral("lstemails"))->setTag(QStringLiteral("no"));

    setTabOrder(ccmdCopy, cmdGetimg);
    setTabOrder(cmdGetimg, cmdGetdata);
    setTabOrder(cmdGetdata, cmdadd);
    setTabOrder(cmdadd, lstimages);
    setTabOrder(lstimages, lstnick);
    setTabOrder(lstnick, lstemails);
}

void FrmTools::connectHandlers()
{
    connect(new ListClicks(lstemails), &ListClicks::clicked, this, &FrmTools::lstemails_Click);
    connect(new ListClicks(lstnick), &ListClicks::clicked, this, &FrmTools::lstnick_Click);
    connect(new ListClicks(lstimages), &ListClicks::clicked, this, &FrmTools::lstimages_Click);
    connect(cmdGetdata, &QPushButton::clicked, this, &FrmTools::cmdGetdata_Click);
    connect(cmdGetimg, &QPushButton::clicked, this, &FrmTools::cmdGetimg_Click);
    connect(cmdadd, &QPushButton::clicked, this, &FrmTools::cmdadd_Click);
    connect(ccmdCopy, &QPushButton::clicked, this, &FrmTools::ccmdCopy_Click);
    for (QListWidget* list : {lstemails, lstnick}) {
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
    }
}

// ---------------------------------------------------------------------------------------------
// Opening, background and closing

void FrmTools::showModal(FrmMine* mainWindow, const MainServices& services)
{
    // No owner window: the tools window is a top-level window of its own.
    auto tools = std::make_unique<FrmTools>(mainWindow, services);
    tools->Form_Load();
    tools->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    connect(tools.get(), &FrmTools::closed, &loop, &QEventLoop::quit);
    tools->show();
    // Also left when the application is told to end (the main window's Exit).
    loop.exec();
}

void FrmTools::Form_Load()
{
    // 1. Colour.
    applyStoredColor();

    // 2. The window's own client object; without one "Get Data" says why.
    m_messengerError.clear();
    if (m_services.messengerFactory)
        m_objMessenger = m_services.messengerFactory(&m_messengerError);
    if (!m_objMessenger && m_messengerError.isEmpty())
        m_messengerError = QStringLiteral("No Messenger client is available.");

    // 3. Icon.
    if (m_main)
        setWindowIcon(m_main->windowIcon());

    // 4. Language.
    if (LanguageSupport* language = m_services.language) {
        language->ApplyLanguage(this);
        if (m_main)
            m_main->comblang->setCurrentText(language->CurrentLang());
    }

    // 5. Direction: the window was built in its left-to-right layout. A flag that spells no
    // number (no language file was read yet) leaves it so.
    if (m_main) {
        const std::optional<double> flag = Settings::toNumber(m_main->txtrtl->text());
        if (flag && *flag == 0)
            Mirroring::AlignToRight(this);
    }

    // 6. Gathering.
    cmdGetdata_Click();
    cmdGetimg_Click();
}

void FrmTools::applyStoredColor()
{
    const quint32 color =
        m_services.settings ? m_services.settings->readColor() : Colors::DefaultBackground;
    Colors::setBackground(this, color);
    const Colors::Rgb rgb = Colors::SplitColor(color);
    Colors::ApplyColors(this, rgb.red, rgb.green, rgb.blue);
}

QColor FrmTools::bandColor(double i, double outerHeightTwips)
{
    const double h = outerHeightTwips;
    const auto part = [](double value) {
        return static_cast<int>(std::min<qint64>(255, Twips::roundHalfEven(value)));
    };
    return QColor(part(211.0 + 123.0 * (h - i) / h), part(146.0 + 73.0 * (h - i) / h),
                  part(213.0 + 194.0 * (h - i) / h));
}

std::vector<FrmTools::Band> FrmTools::computeBands(double outerWidthTwips, double outerHeightTwips)
{
    std::vector<Band> bands;
    if (!(outerHeightTwips > 0))
        return bands;
    for (qint64 i = 0; i <= outerHeightTwips; i += BandHeight) {
        bands.push_back({QRectF(0, static_cast<double>(i), outerWidthTwips, BandHeight),
                         bandColor(static_cast<double>(i), outerHeightTwips)});
    }
    return bands;
}

void FrmTools::Form_Resize()
{
    const QRect outer = frameGeometry();
    m_bands = computeBands(outer.width() * twipsPerPixelX(), outer.height() * twipsPerPixelY());
    update();
}

void FrmTools::paintEvent(QPaintEvent* event)
{
    Form::paintEvent(event);
    QPainter painter(this);
    for (const Band& band : m_bands) {
        const int top = Twips::toPixels(band.twips.top(), twipsPerPixelY());
        const int bottom = Twips::toPixels(band.twips.bottom(), twipsPerPixelY());
        const int right = Twips::toPixels(band.twips.right(), twipsPerPixelX());
        painter.fillRect(QRect(0, top, right, bottom - top), band.color);
    }
}

void FrmTools::resizeEvent(QResizeEvent* event)
{
    Form::resizeEvent(event);
    Form_Resize();
}

void FrmTools::showEvent(QShowEvent* event)
{
    Form::showEvent(event);
    // The frame is known only once the window is on the screen.
    Form_Resize();
}

void FrmTools::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    emit closed();
}

void FrmTools::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_objMessenger.reset();
}

void FrmTools::reportError(const QString& text)
{
    if (m_services.dialogs)
        m_services.dialogs->message(this, Dialogs::Icon::Critical, Title, text);
    else
        qWarning("%s", qPrintable(text));
}

QString FrmTools::langString(const QString& id) const
{
    return m_services.language ? m_services.language->GetLangString(id) : QString();
}

// ---------------------------------------------------------------------------------------------
// Contacts

void FrmTools::cmdGetdata_Click()
{
    fillContacts();
    // The cached pictures do not depend on who is signed in: they are copied in any case.
    copyCache();
}

void FrmTools::fillContacts()
{
    lstemails->hide();
    lstnick->hide();
    {
        const QSignalBlocker blockEmails(lstemails);
        const QSignalBlocker blockNicks(lstnick);
        lstemails->clear();
        lstnick->clear();
    }
    QString error = m_messengerError;
    std::optional<QList<MessengerContact>> contacts;
    if (m_objMessenger)
        contacts = m_objMessenger->myContacts(&error);
    if (contacts) {
        for (const MessengerContact& contact : *contacts) {
            lstemails->addItem(contact.signinName);
            lstnick->addItem(contact.friendlyName);
        }
    }
    lstemails->show();
    lstnick->show();
    if (!contacts)
        reportError(error);
}

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

QString currentText(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item ? item->text() : QString();
}

} // namespace

void FrmTools::lstemails_Click()
{
    m_listSyncBusy = true;
    const int row = lstemails->currentRow();
    if (row >= 0 && row < lstnick->count())
        selectByText(lstnick, lstnick->item(row)->text());
    m_listSyncBusy = false;
}

void FrmTools::lstnick_Click()
{
    if (m_listSyncBusy)
        return;
    switchKeyboardLayout();
    const int row = lstnick->currentRow();
    if (row >= 0 && row < lstemails->count())
        selectByText(lstemails, lstemails->item(row)->text());
    putOnClipboard(currentText(lstnick));
}

void FrmTools::ccmdCopy_Click()
{
    switchKeyboardLayout();
    putOnClipboard(currentText(lstnick));
}

void FrmTools::switchKeyboardLayout()
{
    KeyboardLayout* keyboard = m_services.keyboard;
    if (keyboard && keyboard->current() == KeyboardLayout::UsEnglish)
        keyboard->activateNext();
}

void FrmTools::putOnClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

void FrmTools::lstemails_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    showToolTip(lstemails, x, y);
}

void FrmTools::lstnick_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y)
{
    showToolTip(lstnick, x, y);
}

void FrmTools::showToolTip(QListWidget* list, double x, double y)
{
    const int row = ItemUnderMouse(list, x, y);
    list->setToolTip(row >= 0 ? list->item(row)->text() : QString());
}

int FrmTools::ItemUnderMouse(QListWidget* list, double x, double y) const
{
    // Whole twips divided by whole twips per pixel, the fraction dropped.
    const qint64 perPixelX = std::max<qint64>(1, Twips::roundHalfEven(twipsPerPixelX()));
    const qint64 perPixelY = std::max<qint64>(1, Twips::roundHalfEven(twipsPerPixelY()));
    const QPoint point(static_cast<int>(Twips::roundHalfEven(x) / perPixelX),
                       static_cast<int>(Twips::roundHalfEven(y) / perPixelY));
    if (!list->viewport()->rect().contains(point))
        return -1;
    return list->indexAt(point).row();
}

bool FrmTools::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        const double x = mouse->position().x() * twipsPerPixelX();
        const double y = mouse->position().y() * twipsPerPixelY();
        if (watched == lstemails->viewport())
            lstemails_MouseMove(mouse->buttons(), mouse->modifiers(), x, y);
        else if (watched == lstnick->viewport())
            lstnick_MouseMove(mouse->buttons(), mouse->modifiers(), x, y);
    }
    return Form::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------------
// Pictures

QString FrmTools::harvestName(int number)
{
    return QStringLiteral("dvn%1.jpg").arg(number);
}

void FrmTools::copyCache()
{
    const QString harvest = AppPaths::harvestDir();
    QString error;
    if (!HarvestFolder::prepare(harvest, &error)) {
        reportError(error);
        return;
    }
    // A missing cache lists no file, like an empty one.
    const QString cache =
        m_objMessenger ? m_objMessenger->cacheFolder() : AppPaths::messengerCacheDir();
    Files.setPath(cache);
    QStringList failures;
    int number = 1;
    for (const QString& name : Files.names()) {
        ++number;
        if (!FileCopy::replace(AppPaths::join(cache, name),
                               AppPaths::join(harvest, harvestName(number)), &error))
            failures.append(QStringLiteral("%1: %2").arg(name, error));
    }
    if (!failures.isEmpty()) {
        reportError(QStringLiteral("These cached pictures could not be copied:\n") +
                    failures.join(QLatin1Char('\n')));
    }
}

void FrmTools::cmdGetimg_Click()
{
    lstimages->hide();
    {
        const QSignalBlocker block(lstimages);
        lstimages->clear();
    }
    const QString harvest = AppPaths::harvestDir();
    // A refused folder was reported by "Get Data"; nothing is read from it.
    if (HarvestFolder::check(harvest) == HarvestFolder::State::Ready) {
        Files.setPath(harvest);
        for (const QString& name : Files.names()) {
            // A file the reader cannot read, or whose depth overflows, is no listed picture.
            if (m_reader.ReadImageInfo(AppPaths::join(harvest, name)) &&
                m_reader.ImageWidth() == PictureSize && m_reader.ImageHeight() == PictureSize)
                lstimages->addItem(name);
        }
    }
    lstimages->show();
    lstimages_Click();
}

void FrmTools::lstimages_Click()
{
    const QString harvest = AppPaths::harvestDir();
    const QString name = currentText(lstimages);
    // Without a current item there is no picture to show; the preview stays as it was.
    if (name.isEmpty() || HarvestFolder::check(harvest) != HarvestFolder::State::Ready)
        return;
    // A picture that cannot be decoded leaves the preview as it was.
    ShowPictureFile(AppPaths::join(harvest, name), imgshow);
}

void FrmTools::cmdadd_Click()
{
    const QString folder = m_main ? m_main->txtpath->text() : QString();
    const QString harvest = AppPaths::harvestDir();
    const bool folderExists = !folder.isEmpty() && FolderExists(folder);
    int selected = 0;
    int copied = 0;
    QStringList failures;
    for (int row = 0; row < lstimages->count(); ++row) {
        if (!lstimages->item(row)->isSelected())
            continue;
        ++selected;
        if (!folderExists)
            continue;
        const QString name = lstimages->item(row)->text();
        QString error;
        if (FileCopy::replace(AppPaths::join(harvest, name), AppPaths::join(folder, name), &error))
            ++copied;
        else
            failures.append(QStringLiteral("%1: %2").arg(name, error));
    }

    if (selected != 0 && !folderExists) {
        reportError(QStringLiteral("The picture folder \"%1\" does not exist; no picture was "
                                   "added.")
                        .arg(folder));
    } else if (!failures.isEmpty()) {
        reportError(QStringLiteral("These pictures could not be added:\n") +
                    failures.join(QLatin1Char('\n')));
    }

    if (m_services.dialogs) {
        if (selected != 0) {
            m_services.dialogs->message(this, Dialogs::Icon::Information,
                                        langString(QStringLiteral("0003")),
                                        QString::number(copied) + QStringLiteral("  ") +
                                            langString(QStringLiteral("0002")));
        } else {
            m_services.dialogs->message(this, Dialogs::Icon::None, Title,
                                        langString(QStringLiteral("0004")));
        }
    }

    if (m_main && folderExists)
        m_main->fillPictureList();
}
