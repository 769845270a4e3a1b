#include "AlertDate.h"

#include <QTest>

class TestAlertDate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void nextActivation_data();
    void nextActivation();
    void dueAtTheCheck_data();
    void dueAtTheCheck();
};

void TestAlertDate::nextActivation_data()
{
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("daysBefore");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QDateTime>("expected");

    const QDateTime noon(QDate(2026, 6, 10), QTime(12, 0));
    const auto day = [](int y, int m, int d) { return QDateTime(QDate(y, m, d), QTime(0, 0)); };
    // Today 10 June, five days of warning.
    QTest::newRow("once, ahead") << day(2026, 6, 20) << 0 << 5 << noon << day(2026, 6, 15);
    QTest::newRow("once, passed stays") << day(2026, 6, 12) << 0 << 5 << QDateTime(QDate(2026, 6, 30), QTime(9, 0))
                                        << day(2026, 6, 7);
    QTest::newRow("yearly, warning ahead") << day(1975, 6, 20) << 2 << 5 << noon << day(2026, 6, 15);
    QTest::newRow("yearly, warning running") << day(1975, 6, 12) << 2 << 5 << noon << day(2026, 6, 12);
    QTest::newRow("yearly, passed: next year's warning") << day(1975, 6, 3) << 2 << 5 << noon << day(2027, 5, 29);
    QTest::newRow("monthly, passed: next month's warning") << day(2001, 3, 2) << 1 << 5 << noon << day(2026, 6, 27);
    QTest::newRow("monthly, today without warning") << day(2001, 1, 12) << 1 << 0 << noon << day(2026, 6, 12);
    QTest::newRow("monthly, on the day itself") << day(2001, 1, 10) << 1 << 0 << noon << day(2026, 6, 10);
    QTest::newRow("a type without repetition") << day(2026, 6, 20) << 0 << 0 << noon << day(2026, 6, 20);
    QTest::newRow("another repetition: the date itself") << day(2026, 6, 20) << 3 << 5 << noon << day(2026, 6, 15);
    QTest::newRow("the time of day is kept") << QDateTime(QDate(1975, 6, 20), QTime(8, 30)) << 2 << 5 << noon
                                             << QDateTime(QDate(2026, 6, 15), QTime(8, 30));
    // Once this month's has passed, the next one's warning counts by the hour.
    QTest::newRow("next warning later today") << QDateTime(QDate(2001, 1, 9), QTime(13, 0)) << 1 << 29 << noon
                                              << QDateTime(QDate(2026, 6, 10), QTime(13, 0));
    QTest::newRow("next warning earlier today: the occurrence")
        << QDateTime(QDate(2001, 1, 9), QTime(13, 0)) << 1 << 29 << QDateTime(QDate(2026, 6, 10), QTime(14, 0))
        << QDateTime(QDate(2026, 7, 9), QTime(13, 0));
    // Days the month lacks fall on its last day.
    QTest::newRow("31st in June") << day(2001, 1, 31) << 1 << 0 << noon << day(2026, 6, 30);
    QTest::newRow("31st, next month has it") << day(2001, 1, 31) << 1 << 0 << QDateTime(QDate(2026, 4, 30), QTime(23, 0))
                                             << day(2026, 4, 30);
    QTest::newRow("31st after April's last day") << day(2001, 1, 31) << 1 << 0 << QDateTime(QDate(2026, 5, 1), QTime(8, 0))
                                                 << day(2026, 5, 31);
    QTest::newRow("30th in February") << day(2001, 1, 30) << 1 << 0 << QDateTime(QDate(2026, 2, 3), QTime(8, 0)) << day(2026, 2, 28);
    QTest::newRow("29 February in a common year") << day(2000, 2, 29) << 2 << 0 << QDateTime(QDate(2026, 2, 1), QTime(8, 0))
                                                  << day(2026, 2, 28);
    QTest::newRow("29 February in a leap year") << day(2000, 2, 29) << 2 << 0 << QDateTime(QDate(2028, 2, 1), QTime(8, 0))
                                                << day(2028, 2, 29);
    QTest::newRow("29 February passed: next leap day") << day(2000, 2, 29) << 2 << 0 << QDateTime(QDate(2027, 3, 1), QTime(8, 0))
                                                       << day(2028, 2, 29);
    QTest::newRow("no date") << QDateTime() << 2 << 5 << noon << QDateTime();
}

void TestAlertDate::nextActivation()
{
    QFETCH(QDateTime, date);
    QFETCH(int, type);
    QFETCH(int, daysBefore);
    QFETCH(QDateTime, now);
    QFETCH(QDateTime, expected);
    QCOMPARE(CalcAlertDate(date, type, daysBefore, now), expected);
}

void TestAlertDate::dueAtTheCheck_data()
{
    QTest::addColumn<QDateTime>("stamp");
    QTest::addColumn<QList<int>>("dueDays"); // days from today that are due, of -5 .. 5
    const QDate today(2026, 6, 10);
    const auto at = [today](int days, int hour) { return QDateTime(today.addDays(days), QTime(hour, 0)); };
    // A stamp never set is made the check's moment.
    QTest::newRow("never set: today only") << at(0, 12) << QList<int>{0};
    QTest::newRow("three days old: from its day through today") << at(-3, 16) << QList<int>{-3, -2, -1, 0};
    QTest::newRow("second start the same day: today's again") << at(0, 9) << QList<int>{0};
    QTest::newRow("checked yesterday: from yesterday") << at(-1, 23) << QList<int>{-1, 0};
    QTest::newRow("stamp a day ahead: today only") << at(1, 8) << QList<int>{0};
    QTest::newRow("stamp days ahead: today only") << at(4, 8) << QList<int>{0};
    QTest::newRow("no stamp: today only") << QDateTime() << QList<int>{0};
}

void TestAlertDate::dueAtTheCheck()
{
    QFETCH(QDateTime, stamp);
    QFETCH(QList<int>, dueDays);
    const QDate today(2026, 6, 10);
    QList<int> due;
    for (int days = -5; days <= 5; ++days)
        if (IsAlarmDue(today.addDays(days), stamp, today))
            due << days;
    QCOMPARE(due, dueDays);
    QVERIFY(!IsAlarmDue(QDate(), stamp, today));
}

QTEST_GUILESS_MAIN(TestAlertDate)
#include "tst_AlertDate.moc"
