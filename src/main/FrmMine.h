#pragma once

#include "common/FileList.h"
#include "common/Form.h"
#include "main/MainServices.h"

#include <QColor>

#include <array>
#include <memory>
#include <random>

class ImageControl;
class OptionsPanel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class FileListBox;
class QMenu;
class QPushButton;
class RotationTimer;
class SysTray;
class WebLinks;

// The main window: the picture list and its rotation, the options, the folder, the colour, the
// language choice, the links and the notification-area icon. It wires widgets to the small
// classes that do the work.
class FrmMine : public Form
{
    Q_OBJECT
public:
    static const QString Title;   // "Dorvane"
    static const QString TrayTip; // "Dorvane V 4.0"
    static const QString FilesPattern;
    static constexpr double DesignApplyLeft = 4680;

    explicit FrmMine(const MainServices& services, QWidget* parent = nullptr);
    ~FrmMine() override;

    // Start-up; false when another copy already runs and this one must end.
    bool Form_Load();
    // Shows the window, or leaves it in the notification area when so started.
    void showAtStart();

    // Rotation.
    void TimerTick();
    void starter();
    void starterrand();
    void startRotationTimer();
    void stopRotationTimer();
    RotationTimer* rotationTimer() const { return m_timer; }
    quint32 TimerID() const;

    // Picture list.
    void fillPictureList();
    QString picturePath(const QString& name) const;
    void lstimages_Click();
    void lstimages_DblClick();
    void lstimages_MouseUp(Qt::MouseButton button, const QPoint& globalPos);
    void mnudel_Click();

    // Options and folder.
    void cmdoptions_Click();
    void cmdPath_Click();
    QString BrowseForFolder(const QString& title);
    bool MessengerRunning() const;

    // Colour.
    void cmdchange_Click();
    quint32 backColor() const { return m_backColor; }
    const std::array<QColor, 16>& customColors() const { return m_customColors; }

    // Language and layout.
    void MLSFillMenuLanguages();
    void mnuLanguage_Click(int index);
    void comblang_Click();
    void directionStep();
    void AlignToRight();
    void AlignToLeft();
    QList<QAction*> languageItems() const;

    // Notification area, lifecycle and links.
    void Form_Resize();
    void Form_MouseMove(Qt::MouseButtons button, Qt::KeyboardModifiers shift, double x, double y);
    void mnuopen_Click();
    void mnuexit_Click();
    void Form_Unload();
    void cmdtools_Click();
    void openLink(const QString& path);
    WebLinks* links() const { return m_links; }
    SysTray* sysTray() const { return m_sysTray.get(); }

    MessengerClient* objMessenger() const { return m_objMessenger.get(); }
    const MainServices& services() const { return m_services; }
    // Reports a failure of a handler the user started; the window goes on.
    void reportError(const QString& text);

    // Widgets addressed by the other windows and the tests.
    QComboBox* comblang;
    QLabel* lblbackcolor;
    QPushButton* cmdchange;
    QCheckBox* chkrun;
    QCheckBox* chkwin;
    QCheckBox* chkran;
    QCheckBox* chkmwin;
    QLineEdit* txtm;
    QLineEdit* txts;
    QPushButton* cmdoptions;
    QLineEdit* txtpath;
    QPushButton* cmdPath;
    FileListBox* lstimages;
    ImageControl* imgnow;
    ImageControl* imgicon;
    QLabel* lblsite;
    QLabel* lblhelp;
    QLabel* lblsupport;
    QPushButton* cmdtools;
    QLabel* ShockwaveFlash1;
    QLineEdit* txtrtl;
    QMenu* mnuTray;
    QMenu* mnuimglst;
    QMenu* mnuLanguages;
    FileList Files;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWidgets();
    void connectHandlers();
    void firstRun();
    void restoreFolder();
    void setDisplayPicture(const QString& path);
    void previewSelected();
    void selectItem(int row);
    void setBackColor(quint32 value);
    bool checked(QCheckBox* box) const;
    void loadBanner();

    MainServices m_services;
    std::unique_ptr<MessengerClient> m_objMessenger;
    RotationTimer* m_timer;
    OptionsPanel* m_options = nullptr;
    std::unique_ptr<SysTray> m_sysTray;
    WebLinks* m_links = nullptr;
    std::array<QColor, 16> m_customColors;
    quint32 m_backColor;
    std::mt19937 m_random;
    bool m_startHidden = false;
    bool m_unloaded = false;
    // A language switch under way, and a language chosen meanwhile (-1: none).
    bool m_switchingLanguage = false;
    int m_pendingLanguage = -1;
};
