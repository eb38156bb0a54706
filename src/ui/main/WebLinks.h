#pragma once

#include "ui/forms/ErrorReporter.h"

#include <QObject>
#include <QString>
#include <QUrl>

class Browser;
class QLabel;
class QWidget;

// The link labels of the main window: a click opens their page of the vendor site (the site, its
// help page, its support page), and they turn bold with a pointing hand while the pointer moves
// over them; moving over the bare window turns them back.
class WebLinks : public QObject
{
    Q_OBJECT
public:
    static constexpr int DefaultPointer = 0;
    static constexpr int CustomPointer = 99;

    WebLinks(QWidget* window, Browser& browser, QLabel* site, QLabel* help, QLabel* support,
             ErrorReporter report);

    static QUrl pageUrl(const QString& path);

    // Opens a page of the vendor site; a browser that cannot be started is reported.
    void open(const QString& path);

    void hoverOn(QLabel* label);
    void hoverOff();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setPointer(int pointer);
    QString pathOf(const QLabel* label) const;

    QWidget* m_window;
    Browser& m_browser;
    QLabel* m_site;
    QLabel* m_help;
    QLabel* m_support;
    ErrorReporter m_report;
};
