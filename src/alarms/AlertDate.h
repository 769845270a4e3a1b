#pragma once

#include <QDateTime>

// When a person's alarm is next raised: its date, its type's repetition (0 none,
// 1 every month, 2 every year) and its days of warning, at the moment now. A repeating
// alarm falls in the current month or year; once that occurrence has passed, in the
// next. A day the month lacks (the 31st, 29 February in a common year) falls on the
// month's last day. An alarm without a date has none.
QDateTime CalcAlertDate(const QDateTime &date, int alertType, int daysBefore, const QDateTime &now);

// Whether an alarm raised on alertDate is due at a check on today, when alarms were last
// checked at stamp: every day from the stamp's day through today counts, so that days the
// program was not started are caught up. A stamp ahead of today (a workstation whose clock
// ran ahead) counts as today's, and an invalid one too.
bool IsAlarmDue(const QDate &alertDate, const QDateTime &stamp, const QDate &today);
