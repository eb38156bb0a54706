#pragma once

#include <QObject>
#include <QTimer>

// The rotation timer.
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

signals:
    void tick();
    // A start, or a start again: a full interval until the next tick.
    void started();

private:
    QTimer m_timer;
};
