#include "IntervalFields.h"

#include "core/NumberText.h"
#include "ui/forms/Twips.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cmath>

IntervalFields::IntervalFields(QLineEdit* minutes, QLineEdit* seconds, QObject* parent)
    : QObject(parent), m_txtm(minutes), m_txts(seconds)
{
    // textChanged also fires for texts set by the program, as the field rules need.
    connect(m_txtm, &QLineEdit::textChanged, this, &IntervalFields::txtm_Change);
    connect(m_txts, &QLineEdit::textChanged, this, &IntervalFields::txts_Change);
    m_txtm->installEventFilter(this);
    m_txts->installEventFilter(this);
    connect(m_txtm, &QLineEdit::returnPressed, this, [this] {
        txtm_Validate();
        emit entered();
    });
    connect(m_txts, &QLineEdit::returnPressed, this, [this] {
        txts_Validate();
        emit entered();
    });
}

double IntervalFields::leadingNumber(const QString& text)
{
    return NumberText::leading(text).value_or(0.0);
}

bool IntervalFields::isNumeric(const QString& text)
{
    return NumberText::whole(text).has_value();
}

qint64 IntervalFields::intervalMs(const QString& minutesText, const QString& secondsText)
{
    // Rounded in double precision: a hand-edited 1e20 has no 64-bit integer to round to.
    // nearbyint rounds half to even in the default rounding mode.
    const double minutes = leadingNumber(minutesText);
    double ms = minutes < 1 ? std::nearbyint(leadingNumber(secondsText)) * 1000.0
                            : std::nearbyint(minutes) * 60000.0;
    // Only hand-edited settings reach past these bounds; take the nearest one.
    ms = std::clamp(ms, static_cast<double>(MinIntervalMs), static_cast<double>(MaxIntervalMs));
    return static_cast<qint64>(ms);
}

qint64 IntervalFields::intervalMs() const
{
    return intervalMs(m_txtm->text(), m_txts->text());
}

void IntervalFields::txtm_Change()
{
    if (leadingNumber(m_txtm->text()) > 60)
        m_txtm->setText(QStringLiteral("60"));
}

void IntervalFields::txts_Change()
{
    if (leadingNumber(m_txts->text()) > 60)
        m_txts->setText(QStringLiteral("60"));
    const double seconds = leadingNumber(m_txts->text());
    if (seconds == 60) {
        m_txtm->setText(QString::number(Twips::roundHalfEven(seconds) / 60));
        m_txts->setText(QStringLiteral("0"));
    }
}

void IntervalFields::txtm_Validate()
{
    if (!isNumeric(m_txtm->text())) {
        m_txtm->setText(QStringLiteral("1"));
        refocus(m_txtm);
    }
}

void IntervalFields::txts_Validate()
{
    const QString text = m_txts->text();
    if (isNumeric(text)) {
        if (leadingNumber(text) < 3)
            m_txts->setText(QStringLiteral("3"));
    } else {
        m_txts->setText(QStringLiteral("3"));
        refocus(m_txts);
    }
}

void IntervalFields::refocus(QLineEdit* box)
{
    // Put the focus back once the focus change under way has finished.
    QTimer::singleShot(0, box, [box] { box->setFocus(Qt::OtherFocusReason); });
}

bool IntervalFields::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        // Validation runs when the focus moves to another control of the window, not when
        // the whole window loses the focus or a popup opens.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            if (watched == m_txtm)
                txtm_Validate();
            else if (watched == m_txts)
                txts_Validate();
        }
    }
    return QObject::eventFilter(watched, event);
}
