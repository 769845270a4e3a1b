#pragma once

#include <QDateEdit>

// A date typed or chosen from a calendar, in four-digit years; its earliest date stands
// for none and shows as an empty box.
class DateBox : public QDateEdit
{
    Q_OBJECT
public:
    DateBox(const char *name, const QString &calendarTitle, QWidget *parent = nullptr);

    // No date is an invalid one.
    QDate chosenDate() const;
    void choose(const QDate &date);
    void todayWhenEmpty();
};
