#pragma once

#include <QObject>
#include <QString>

#include <optional>

class QLineEdit;

// The interval boxes of the options panel: the rules their texts follow as they are typed and left,
// and the interval they give.
class IntervalFields : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 MinIntervalMs = 1000;
    static constexpr qint64 MaxIntervalMs = 2147483647;

    IntervalFields(QLineEdit* minutes, QLineEdit* seconds, QObject* parent = nullptr);

    // The number a text begins with, leading blanks skipped; 0 when it begins with no number.
    static double leadingNumber(const QString& text);
    // The whole text, blanks around it allowed, reads as a number.
    static bool isNumeric(const QString& text);
    // Minutes when the minutes value is 1 or more, else seconds; rounded half to even and brought
    // within 1 s to 2^31 - 1 ms.
    static qint64 intervalMs(const QString& minutesText, const QString& secondsText);
    qint64 intervalMs() const;

    void txtm_Change();
    void txts_Change();
    void txtm_Validate();
    void txts_Validate();

signals:
    // Enter was pressed in a box, after its text was checked as leaving it would check it.
    void entered();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refocus(QLineEdit* box);

    QLineEdit* m_txtm;
    QLineEdit* m_txts;
};
