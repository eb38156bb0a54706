#include "WebLinks.h"

#include "core/web/VendorSite.h"
#include "platform/Browser.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

WebLinks::WebLinks(QWidget* window, Browser* browser, QLabel* site, QLabel* help, QLabel* support,
                   ErrorReporter report)
    : QObject(window), m_window(window), m_browser(browser), m_site(site), m_help(help),
      m_support(support), m_report(std::move(report))
{
    for (QLabel* label : {m_site, m_help, m_support}) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(8.25);
        font.setUnderline(true);
        font.setBold(false);
        label->setFont(font);
        label->setMouseTracking(true);
        label->installEventFilter(this);
    }
}

QUrl WebLinks::pageUrl(const QString& path)
{
    return vendorUrl(path);
}

void WebLinks::open(const QString& path)
{
    if (!m_browser)
        return;
    if (const Result<void> opened = m_browser->openUrl(pageUrl(path)); !opened)
        m_report(opened.error());
}

void WebLinks::setPointer(int pointer)
{
    m_pointer = pointer;
    if (pointer == CustomPointer)
        m_window->setCursor(Qt::PointingHandCursor);
    else
        m_window->unsetCursor();
}

void WebLinks::hoverOn(QLabel* label)
{
    setPointer(CustomPointer);
    QFont font = label->font();
    font.setUnderline(true);
    font.setBold(true);
    label->setFont(font);
}

void WebLinks::hoverOff()
{
    setPointer(DefaultPointer);
    for (QLabel* label : {m_site, m_help, m_support}) {
        QFont font = label->font();
        font.setBold(false);
        label->setFont(font);
    }
}

bool WebLinks::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    if (label && (label == m_site || label == m_help || label == m_support)) {
        if (event->type() == QEvent::MouseMove) {
            hoverOn(label);
            // A label ignores mouse moves, which would pass them on to the window, whose own
            // mouse-move handler turns the hover off again at once.
            event->accept();
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint()))
            open(label == m_help      ? QStringLiteral("/dvn/faq.php")
                 : label == m_support ? QStringLiteral("/dvn/contactus.php")
                                      : QStringLiteral("/dvn"));
    }
    return QObject::eventFilter(watched, event);
}
