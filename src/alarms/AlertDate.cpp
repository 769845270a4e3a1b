#include "AlertDate.h"

namespace {

enum Repetition { Monthly = 1, Yearly = 2 };

// A moment as the wall clock shows it: worked out without the time zone, which would
// cost a lookup for every step over a list of many thousand alarms.
struct WallClock
{
    QDate date;
    QTime time;

    WallClock daysBefore(int days) const { return {date.addDays(-days), time}; }
    bool operator<(const WallClock &other) const
    {
        return date != other.date ? date < other.date : time < other.time;
    }
};

// The day of the month in the given month, or the month's last day when it has fewer.
WallClock inMonth(const WallClock &moment, int year, int month)
{
    const QDate first(year, month, 1);
    return {QDate(year, month, qMin(moment.date.day(), first.daysInMonth())), moment.time};
}

// The occurrence of the repeating date in the period that contains today, or in the
// one after it (step 1).
WallClock occurrence(const WallClock &moment, int repetition, const QDate &today, int step)
{
    if (repetition == Monthly) {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(step);
        return inMonth(moment, month.year(), month.month());
    }
    if (repetition == Yearly)
        return inMonth(moment, today.year() + step, moment.date.month());
    return moment;
}

WallClock nextAlert(const WallClock &date, int alertType, int daysBefore, const WallClock &now)
{
    if (alertType <= 0)
        return date.daysBefore(daysBefore);
    const QDate today = now.date;
    const WallClock occurs = occurrence(date, alertType, today, 0);
    const WallClock alert = occurs.daysBefore(daysBefore);
    if (today <= alert.date)
        return alert;
    if (today <= occurs.date)
        return occurs;
    // This period's occurrence has passed: the next one's.
    const WallClock next = occurrence(date, alertType, today, 1);
    return now < next.daysBefore(daysBefore) ? next.daysBefore(daysBefore) : next;
}

}

QDateTime CalcAlertDate(const QDateTime &date, int alertType, int daysBefore, const QDateTime &now)
{
    if (!date.isValid())
        return {};
    const WallClock next = nextAlert({date.date(), date.time()}, alertType, daysBefore, {now.date(), now.time()});
    return QDateTime(next.date, next.time, date.timeSpec());
}

bool IsAlarmDue(const QDate &alertDate, const QDateTime &stamp, const QDate &today)
{
    if (!alertDate.isValid())
        return false;
    // Counting from a stamp ahead of today would hide today's alarms and list days to come.
    const QDate from = stamp.isValid() && stamp.date() < today ? stamp.date() : today;
    return from <= alertDate && alertDate <= today;
}
