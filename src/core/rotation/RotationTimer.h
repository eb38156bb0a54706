#pragma once

#include <QObject>
#include <QTimer>

// The rotation timer. Each start hands out a new identifier (TimerID), 0 until the first
// start; stopping does not reset it.
class RotationTimer : public QObject
{
    Q_OBJECT
public:
    explicit RotationTimer(QObject* parent = nullptr);

    // Stops any running timer and starts one with the interval; the first tick comes one full
    // interval later.
    void start(qint64 intervalMs);
    void stop();

    bool isActive() const { return m_timer.isActive(); }
    int intervalMs() const { return m_timer.interval(); }
    quint32 timerId() const { return m_timerId; }

signals:
    void tick();

private:
    QTimer m_timer;
    quint32 m_timerId = 0;
};
