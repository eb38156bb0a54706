#include "FrmTools.h"

#include "core/NumberText.h"
#include "core/language/LanguageSupport.h"
#include "core/language/Texts.h"
#include "core/settings/Settings.h"
#include "ui/forms/Colors.h"
#include "ui/forms/ErrorReporter.h"
#include "ui/forms/FormLanguage.h"
#include "ui/forms/Mirroring.h"
#include "ui/forms/Twips.h"
#include "ui/tools/ContactLists.h"
#include "ui/tools/HarvestPanel.h"
#include "ui/tools/ToolsHost.h"
#include "ui/widgets/ImageControl.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

const QString FrmTools::Title = QStringLiteral("Dorvane");

FrmTools::FrmTools(ToolsHost& host, const MainServices& services, QWidget* parent)
    : Form(QStringLiteral("frmTools"), QSizeF(ClientWidth, ClientHeight), parent), m_host(host),
      m_services(services)
{
    setWindowTitle(Title);
    buildWidgets();
    auto* emails = widget<QListWidget>(QStringLiteral("lstemails"));
    auto* nicks = widget<QListWidget>(QStringLiteral("lstnick"));
    m_contacts = new ContactLists(emails, nicks, widget<QPushButton>(QStringLiteral("ccmdCopy")),
                                  m_services.keyboard, twipsPerPixelX(), twipsPerPixelY(), this);
    m_harvest = new HarvestPanel({widget<QListWidget>(QStringLiteral("lstimages")),
                                  widget<ImageControl>(QStringLiteral("imgshow")),
                                  widget<QPushButton>(QStringLiteral("cmdadd")),
                                  widget<QPushButton>(QStringLiteral("cmdGetimg"))},
                                 m_host, m_services.dialogs, this, this);
    connect(widget<QPushButton>(QStringLiteral("cmdGetdata")), &QPushButton::clicked, this,
            &FrmTools::cmdGetdata_Click);
}

FrmTools::~FrmTools()
{
    Form_Unload();
}

void FrmTools::buildWidgets()
{
    addLabel(QStringLiteral("lblemails"), QStringLiteral("Emails :"), {840, 240, 540, 195});
    addLabel(QStringLiteral("lblNackName"), QStringLiteral("Nick Names  :"),
             {3240, 240, 1005, 195});
    QListWidget* emails = addListBox(QStringLiteral("lstemails"), {120, 600, 2295, 6300});
    QListWidget* nicks = addListBox(QStringLiteral("lstnick"), {2640, 600, 2415, 6300});
    QPushButton* add =
        addButton(QStringLiteral("cmdadd"), QStringLiteral("Add"), {5760, 240, 1215, 375});
    addImage(QStringLiteral("imgshow"), {5760, 840, 1200, 1200});
    QListWidget* images = addListBox(QStringLiteral("lstimages"), {5280, 2160, 2175, 4785});
    QPushButton* getData =
        addButton(QStringLiteral("cmdGetdata"), QStringLiteral("Get Data"), {360, 7080, 1815, 375});
    QPushButton* copy =
        addButton(QStringLiteral("ccmdCopy"), QStringLiteral("Copy"), {3000, 7080, 1815, 375});
    QPushButton* getImages = addButton(QStringLiteral("cmdGetimg"), QStringLiteral("Get Images"),
                                       {5520, 7080, 1815, 375});
    addFileList(QStringLiteral("Files"), QRectF());

    emails->setAccessibleName(Texts::text(Text::NameSignInNames));
    nicks->setAccessibleName(Texts::text(Text::NameNicknames));
    images->setAccessibleName(Texts::text(Text::NameCachedPictures));
    control(QStringLiteral("imgshow"))
        ->widget()
        ->setAccessibleName(Texts::text(Text::NameCachedPicture));
    emails->setSelectionMode(QAbstractItemView::SingleSelection);
    nicks->setSelectionMode(QAbstractItemView::SingleSelection);
    // The sign-in names keep their alignment when the window is mirrored.
    control(QStringLiteral("lstemails"))->setTag(QStringLiteral("no"));

    setTabOrder(copy, getImages);
    setTabOrder(getImages, getData);
    setTabOrder(getData, add);
    setTabOrder(add, images);
    setTabOrder(images, nicks);
    setTabOrder(nicks, emails);
}

// ---------------------------------------------------------------------------------------------
// Opening, background and closing

void FrmTools::showModal(ToolsHost& host, const MainServices& services, const QWidget* owner)
{
    // No owner window: the tools window is a top-level window of its own.
    auto tools = std::make_unique<FrmTools>(host, services);
    tools->Form_Load();
    tools->setWindowModality(Qt::ApplicationModal);
    tools->placeOver(owner);
    QEventLoop loop;
    connect(tools.get(), &FrmTools::closed, &loop, &QEventLoop::quit);
    tools->show();
    // Also left when the application is told to end (the main window's Exit).
    loop.exec();
}

void FrmTools::placeOver(const QWidget* owner)
{
    // The screen that shows the most of the owner.
    const QRect over = owner->frameGeometry();
    QScreen* screen = owner->screen();
    qint64 most = 0;
    for (QScreen* candidate : QGuiApplication::screens()) {
        const QRect shown = candidate->geometry().intersected(over);
        if (qint64(shown.width()) * shown.height() > most) {
            most = qint64(shown.width()) * shown.height();
            screen = candidate;
        }
    }
    // A window manager places the frame; before the window is shown its size is the client's.
    const QRect area = screen->availableGeometry();
    QRect placed(QPoint(), frameGeometry().size());
    placed.moveCenter(over.center());
    placed.moveLeft(std::clamp(placed.left(), area.left(),
                               std::max(area.left(), area.right() + 1 - placed.width())));
    placed.moveTop(std::clamp(placed.top(), area.top(),
                              std::max(area.top(), area.bottom() + 1 - placed.height())));
    setScreen(screen);
    move(placed.topLeft());
}

void FrmTools::Form_Load()
{
    // 1. Colour.
    applyStoredColor();

    // 2. The window's own client object; without one "Get Data" says why.
    m_messengerError.clear();
    if (Result<std::unique_ptr<MessengerClient>> made = m_services.messengerFactory())
        m_objMessenger = std::move(made).value();
    else
        m_messengerError = made.error();

    // 3. Icon.
    setWindowIcon(m_host.icon());

    // 4. Language.
    FormLanguage::ApplyLanguage(m_services.language, this);
    m_host.showLanguage(m_services.language.CurrentLang());

    // 5. Direction: the window was built in its left-to-right layout. A flag that spells no
    // number (no language file was read yet) leaves it so.
    const std::optional<double> flag = NumberText::whole(m_host.directionFlag());
    if (flag && *flag == 0)
        Mirroring::AlignToRight(this);

    // 6. Gathering: the pictures are listed once they are copied.
    gatherData([this] { m_harvest->cmdGetimg_Click(); });
}

void FrmTools::cmdGetdata_Click()
{
    gatherData({});
}

void FrmTools::gatherData(const std::function<void()>& then)
{
    m_contacts->fill(m_objMessenger.get(), m_messengerError,
                     ErrorReporter(m_services.dialogs, this, Title));
    // The cached pictures do not depend on who is signed in: they are copied in any case.
    m_harvest->copyCache(m_objMessenger.get(), then);
}

void FrmTools::applyStoredColor()
{
    // Without a chosen colour the window follows the desktop's theme.
    if (const std::optional<quint32> chosen = m_services.settings.chosenColor())
        Colors::paintWindow(this, *chosen);
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

void FrmTools::keyPressEvent(QKeyEvent* event)
{
    // Escape closes the window, as it closes a dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    Form::keyPressEvent(event);
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
