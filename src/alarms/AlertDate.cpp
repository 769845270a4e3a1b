#include "AlertDate.h"

namespace {

enum Repetition { Monthly = 1, Yearly = 2 };

// The day of the month in the given month, or the month's last day when it has fewer.
QDateTime inMonth(const QDateTime &date, int year, int month)
{
    const QDate first(year, month, 1);
    const QDate day(year, month, qMin(date.date().day(), first.daysInMonth()));
    return QDateTime(day, date.time(), date.timeSpec());
}

// The occurrence of the repeating date in the period that contains today, or in the
// one after it (step 1).
QDateTime occurrence(const QDateTime &date, int repetition, const QDate &today, int step)
{
    if (repetition == Monthly) {
        const QDate month = QDate(today.year(), today.month(), 1).addMonths(step);
        return inMonth(date, month.year(), month.month());
    }
    if (repetition == Yearly)
        return inMonth(date, today.year() + step, date.date().month());
    return date;
}

}

QDateTime CalcAlertDate(const QDateTime &date, int alertType, int daysBefore, const QDateTime &now)
{
    if (!date.isValid())
        return {};
    if (alertType <= 0)
        return date.addDays(-daysBefore);
    const QDate today = now.date();
    const QDateTime occurs = occurrence(date, alertType, today, 0);
    const QDateTime alert = occurs.addDays(-daysBefore);
    if (today <= alert.date())
        return alert;
    if (today <= occurs.date())
        return occurs;
    // This period's occurrence has passed: the next one's.
    const QDateTime next = occurrence(date, alertType, today, 1);
    return now < next.addDays(-daysBefore) ? next.addDays(-daysBefore) : next;
}

bool IsAlarmDue(const QDate &alertDate, const QDateTime &stamp, const QDate &today)
{
    if (!alertDate.isValid())
        return false;
    // Counting from a stamp ahead of today would hide today's alarms and list days to come.
    const QDate from = stamp.isValid() && stamp.date() < today ? stamp.date() : today;
    return from <= alertDate && alertDate <= today;
}
