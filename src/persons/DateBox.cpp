#include "DateBox.h"

#include <QCalendarWidget>

DateBox::DateBox(const char *name, const QString &calendarTitle, QWidget *parent)
    : QDateEdit(parent)
{
    setObjectName(QString::fromLatin1(name));
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
    setMinimumDate(QDate(1899, 12, 31));
    setSpecialValueText(QStringLiteral(" "));
    setToolTip(tr("Izberi iz koledarja"));
    calendarWidget()->setWindowTitle(calendarTitle);
}

QDate DateBox::chosenDate() const
{
    return date() <= minimumDate() ? QDate() : date();
}

void DateBox::choose(const QDate &date)
{
    setDate(date.isValid() ? date : minimumDate());
}

void DateBox::todayWhenEmpty()
{
    if (!chosenDate().isValid())
        setDate(QDate::currentDate());
}
