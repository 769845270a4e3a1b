#pragma once

#include <QtGlobal>

// The usage figures: running time and time with user activity, in days. Times are
// milliseconds since the epoch; an activity moment of 0 means no input yet.
class UsageTracker
{
public:
    static constexpr qint64 ActiveWindowMs = 30000;
    static constexpr qint64 SaveIntervalMs = 30 * 60 * 1000;

    void start(qint64 now, double totalDays, double activeDays);
    void noteActivity(qint64 now) { m_lastActivity = now; }

    // Adds the time since the last tick. True when the periodic save is due; the
    // caller writes the figures then.
    bool tick(qint64 now);
    // The program has been left alone for at least that many seconds (never before the first input).
    bool idleFor(qint64 now, int seconds) const;

    qint64 lastActivity() const { return m_lastActivity; }
    double totalDays() const { return m_totalDays; }
    double activeDays() const { return m_activeDays; }

private:
    double m_totalDays = 0;
    double m_activeDays = 0;
    qint64 m_lastActivity = 0;
    qint64 m_lastTick = 0;
    qint64 m_lastSave = 0;
};
