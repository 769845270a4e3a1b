#include "UsageTracker.h"

#include <cstdlib>

namespace {
constexpr double MsPerDay = 86400000.0;
}

void UsageTracker::start(qint64 now, double totalDays, double activeDays)
{
    m_totalDays = totalDays;
    m_activeDays = activeDays;
    m_lastTick = m_lastSave = now;
    m_lastActivity = 0;
}

bool UsageTracker::tick(qint64 now)
{
    // Absolute differences: a clock set back must not make the figures shrink.
    const double elapsedDays = std::llabs(now - m_lastTick) / MsPerDay;
    m_totalDays += elapsedDays;
    if (now - m_lastActivity < ActiveWindowMs)
        m_activeDays += elapsedDays;
    m_lastTick = now;
    if (now - m_lastSave < SaveIntervalMs)
        return false;
    m_lastSave = now;
    return true;
}

bool UsageTracker::idleFor(qint64 now, int seconds) const
{
    return seconds > 0 && m_lastActivity != 0 && now - m_lastActivity >= qint64(seconds) * 1000;
}
