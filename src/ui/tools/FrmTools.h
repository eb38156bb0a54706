#pragma once

#include "ui/MainServices.h"
#include "ui/forms/Form.h"

#include <QColor>
#include <QRectF>

#include <functional>
#include <memory>
#include <vector>

class ContactLists;
class HarvestPanel;
class ToolsHost;

// The contact tools window: the signed-in user's contacts in two parallel lists, and the display
// pictures the Messenger client cached for them, copied into a folder of the program's own, of
// which the 96 x 96 ones are listed, previewed and added to the picture folder. Each opening
// builds a fresh window and runs its whole load sequence.
class FrmTools : public Form
{
    Q_OBJECT
public:
    static const QString Title; // "Dorvane"
    static constexpr double ClientWidth = 7635;
    static constexpr double ClientHeight = 7710;
    static constexpr int BandHeight = 70;

    struct Band
    {
        QRectF twips; // client coordinates
        QColor color;
    };

    FrmTools(ToolsHost& host, const MainServices& services, QWidget* parent = nullptr);
    ~FrmTools() override;

    // Builds and loads a window, shows it modally over every other window (centred over
    // `owner`) and deletes it once it is closed. Other events (the rotation timer's among them)
    // go on meanwhile.
    static void showModal(ToolsHost& host, const MainServices& services, const QWidget* owner);
    // Centred over `owner`, and kept within the screen that shows it.
    void placeOver(const QWidget* owner);

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void cmdGetdata_Click();

    // The background: bands of 70 twips from the top down to the outer height, from pink to
    // violet, over the window's whole width.
    static std::vector<Band> computeBands(double outerWidthTwips, double outerHeightTwips);
    static QColor bandColor(double i, double outerHeightTwips);

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildWidgets();
    void applyStoredColor();
    // "Get Data": the contacts, and the cached pictures copied; `then` runs once they are.
    void gatherData(const std::function<void()>& then);

    ToolsHost& m_host;
    MainServices m_services;
    std::unique_ptr<MessengerClient> m_objMessenger;
    QString m_messengerError;
    ContactLists* m_contacts = nullptr;
    HarvestPanel* m_harvest = nullptr;
    bool m_unloaded = false;
    std::vector<Band> m_bands;
};
