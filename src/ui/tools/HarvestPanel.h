#pragma once

#include "core/picture/ImageHeaderReader.h"
#include "ui/forms/ErrorReporter.h"

#include <QObject>

#include <functional>

class Dialogs;
class ImageControl;
class MessengerClient;
class QListWidget;
class QPushButton;
class ToolsHost;

// The harvest of the contact tools window: the Messenger client's cached pictures copied into a
// folder of the program's own as dvn2.jpg, dvn3.jpg, ..., the ones of 96 x 96 pixels listed and
// previewed, and "Add", which copies the selected ones into the picture folder.
class HarvestPanel : public QObject
{
    Q_OBJECT
public:
    static constexpr int PictureSize = 96;

    struct Widgets
    {
        QListWidget* list;      // lstimages
        ImageControl* preview;  // imgshow
        QPushButton* add;       // cmdadd
        QPushButton* getImages; // cmdGetimg
    };

    HarvestPanel(const Widgets& widgets, ToolsHost& host, Dialogs& dialogs, QWidget* window,
                 QObject* parent = nullptr);

    // Copies the client's cache (the Messenger cache when there is no client) into the folder,
    // once the client has said where its cache is; `then` runs when the copies are made.
    void copyCache(MessengerClient* client, const std::function<void()>& then = {});
    void cmdGetimg_Click();
    void lstimages_Click();
    void cmdadd_Click();

private:
    Widgets m_widgets;
    ToolsHost& m_host;
    Dialogs& m_dialogs;
    QWidget* m_window;
    ErrorReporter m_report;
    ImageHeaderReader m_reader;
};
