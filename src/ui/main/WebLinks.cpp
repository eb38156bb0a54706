#include "WebLinks.h"

#include "core/web/VendorSite.h"
#include "platform/Browser.h"
#include "ui/forms/Accessibility.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QWidget>

WebLinks::WebLinks(QWidget* window, Browser& browser, QLabel* site, QLabel* help, QLabel* support,
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
        // Reached with Tab and opened with Enter or Space as well as with the mouse.
        label->setFocusPolicy(Qt::StrongFocus);
        label->installEventFilter(this);
        Accessibility::announceAsLink(label);
    }
}

QUrl WebLinks::pageUrl(const QString& path)
{
    return vendorUrl(path);
}

void WebLinks::open(const QString& path)
{
    if (const Result<void> opened = m_browser.openUrl(pageUrl(path)); !opened)
        m_report(opened.error());
}

void WebLinks::setPointer(int pointer)
{
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

QString WebLinks::pathOf(const QLabel* label) const
{
    return label == m_help      ? QStringLiteral("/dvn/faq.php")
           : label == m_support ? QStringLiteral("/dvn/contactus.php")
                                : QStringLiteral("/dvn");
}

bool WebLinks::eventFilter(QObject* watched, QEvent* event)
{
    auto* label = qobject_cast<QLabel*>(watched);
    if (!label || (label != m_site && label != m_help && label != m_support))
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseMove:
        hoverOn(label);
        // A label ignores mouse moves, which would pass them on to the window, whose own
        // mouse-move handler turns the hover off again at once.
        event->accept();
        return true;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint()))
            open(pathOf(label));
        break;
    }
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            open(pathOf(label));
            return true;
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The link that has the focus is shown bold, as the one under the pointer is.
        QFont font = label->font();
        font.setBold(event->type() == QEvent::FocusIn);
        label->setFont(font);
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
