#include "UsageTracker.h"

#include <cstdlib>

namespace {
constexpr double MsPerDay = 86400000.0;
}

void UsageTracker::start(qint64 now, double totalDays, double activeDays)
{
    m_totalDays = totalDays;
    m_activeDays = activeDays;
    m_lastTotalTick = m_lastActiveTick = m_lastSave = now;
    m_lastActivity = 0;
}

bool UsageTracker::tick(qint64 now)
{
    // Absolute differences: a clock set back must not make the figures shrink.
    m_totalDays += std::llabs(now - m_lastTotalTick) / MsPerDay;
    if (now - m_lastActivity < ActiveWindowMs)
        m_activeDays += std::llabs(now - m_lastActiveTick) / MsPerDay;
    m_lastTotalTick = m_lastActiveTick = now;
    if (now - m_lastSave < SaveIntervalMs)
        return false;
    m_lastSave = now;
    return true;
}

bool UsageTracker::idleFor(qint64 now, int seconds) const
{
    return seconds > 0 && m_lastActivity != 0 && now - m_lastActivity >= qint64(seconds) * 1000;
}
