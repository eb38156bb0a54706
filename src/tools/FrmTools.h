#pragma once

#include "common/FileList.h"
#include "common/Form.h"
#include "main/MainServices.h"
#include "tools/ImageHeaderReader.h"

#include <QColor>
#include <QRectF>

#include <memory>
#include <vector>

class FrmMine;
class ImageControl;
class QLabel;
class QListWidget;
class QPushButton;

// The contact tools window: the signed-in user's contacts in two parallel lists, and the
// display pictures the Messenger client cached for them, copied into a folder of the program's
// own, of which the 96 x 96 ones are listed, previewed and added to the picture folder.
// Each opening builds a fresh window and runs its whole load sequence.
class FrmTools : public Form
{
    Q_OBJECT
public:
    static const QString Title; // "Dorvane"
    static constexpr double ClientWidth = 7635;
    static constexpr double ClientHeight = 7710;
    static constexpr int BandHeight = 70;
    static constexpr int PictureSize = 96;

    struct Band
    {
        QRectF twips; // client coordinates
        QColor color;
    };

    FrmTools(FrmMine* mainWindow, const MainServices& services, QWidget* parent = nullptr);
    ~FrmTools() override;

    // Builds and loads a window, shows it modally over every other window and deletes it once
    // it is closed. Other events (the rotation timer's among them) go on meanwhile.
    static void showModal(FrmMine* mainWindow, const MainServices& services);

    void Form_Load();
    void Form_Resize();
    void Form_Unload();

    // The background: bands of 70 twips from the top down to the outer height, from pink to
    // violet, over the window's whole width.
    static std::vector<Band> computeBands(double outerWidthTwips, double outerHeightTwips);
    static QColor bandColor(double i, double outerHeightTwips);
    const std::vector<Band>& bands() const { return m_bands; }

    // Contacts.
    void cmdGetdata_Click();
    void lstemails_Click();
    void lstnick_Click();
    void ccmdCopy_Click();
    void lstemails_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, double x,
                             double y);
    void lstnick_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, double x,
                           double y);
    // The row under a point given in twips relative to the list's inside, -1 when none.
    int ItemUnderMouse(QListWidget* list, double x, double y) const;
    bool ListSyncBusy() const { return m_listSyncBusy; }

    // Pictures.
    void cmdGetimg_Click();
    void lstimages_Click();
    void cmdadd_Click();
    static QString harvestName(int number);

    // What the header reader found in the last file it read.
    int ImageWidth() const { return m_reader.ImageWidth(); }
    int ImageHeight() const { return m_reader.ImageHeight(); }
    quint8 Depth() const { return m_reader.Depth(); }
    int ImageType() const { return m_reader.ImageType(); }

    // The window's own Messenger client object; nullptr when none could be made or once the
    // window is unloaded.
    MessengerClient* objMessenger() const { return m_objMessenger.get(); }

    QLabel* lblemails;
    QLabel* lblNackName;
    QListWidget* lstemails;
    QListWidget* lstnick;
    QPushButton* cmdadd;
    ImageControl* imgshow;
    QListWidget* lstimages;
    QPushButton* cmdGetdata;
    QPushButton* ccmdCopy;
    QPushButton* cmdGetimg;
    FileList Files;

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void connectHandlers();
    void applyStoredColor();
    void fillContacts();
    void copyCache();
    void switchKeyboardLayout();
    void putOnClipboard(const QString& text);
    void showToolTip(QListWidget* list, double x, double y);
    QString langString(const QString& id) const;
    void reportError(const QString& text);

    FrmMine* m_main;
    MainServices m_services;
    std::unique_ptr<MessengerClient> m_objMessenger;
    QString m_messengerError;
    ImageHeaderReader m_reader;
    bool m_listSyncBusy = false;
    bool m_unloaded = false;
    std::vector<Band> m_bands;
};
