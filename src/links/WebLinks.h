#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

class Browser;
class QLabel;
class QWidget;

// The link labels of the main window: they open pages of the vendor site and turn bold with a
// pointing hand while the pointer moves over them; moving over the bare window turns them back.
class WebLinks : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPointer = 0;
    static constexpr int CustomPointer = 99;

    WebLinks(QWidget* window, Browser* browser, QLabel* site, QLabel* help, QLabel* support);

    static QUrl pageUrl(const QString& path);

    // Opens a page; false (with the reason) when no browser could be started.
    bool open(const QString& path, QString* error = nullptr);

    void hoverOn(QLabel* label);
    void hoverOff();
    int mousePointer() const { return m_pointer; }

signals:
    void clicked(QLabel* label);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setPointer(int pointer);

    QWidget* m_window;
    Browser* m_browser;
    QLabel* m_site;
    QLabel* m_help;
    QLabel* m_support;
    int m_pointer = DefaultPointer;
};
