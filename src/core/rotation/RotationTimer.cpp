#include "RotationTimer.h"

#include <algorithm>
#include <limits>

RotationTimer::RotationTimer(QObject* parent) : QObject(parent)
{
    m_timer.setTimerType(Qt::CoarseTimer);
    connect(&m_timer, &QTimer::timeout, this, &RotationTimer::tick);
}

void RotationTimer::start(qint64 intervalMs)
{
    m_timer.stop();
    const qint64 bounded = std::clamp<qint64>(intervalMs, 1, std::numeric_limits<int>::max());
    m_timer.start(static_cast<int>(bounded));
    emit started();
}

void RotationTimer::stop()
{
    m_timer.stop();
}
