#include "UsageTracker.h"

#include <QTest>

namespace {
constexpr qint64 second = 1000;
constexpr qint64 minute = 60 * second;
constexpr qint64 day = 24 * 60 * minute;
constexpr qint64 start = 1'800'000'000'000;
}

class TestUsageTracker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void countsRunningAndActiveTime();
    void savesEveryThirtyMinutes();
    void idleRules_data();
    void idleRules();
};

void TestUsageTracker::countsRunningAndActiveTime()
{
    UsageTracker usage;
    usage.start(start, 2.0, 1.0);
    QCOMPARE(usage.lastActivity(), 0);

    usage.tick(start + 5 * second); // no input yet: running time only
    QCOMPARE(usage.totalDays(), 2.0 + 5.0 * second / day);
    QCOMPARE(usage.activeDays(), 1.0);

    usage.noteActivity(start + 8 * second);
    usage.tick(start + 10 * second); // input within the last 30 seconds
    QCOMPARE(usage.activeDays(), 1.0 + 5.0 * second / day);

    usage.tick(start + 40 * second); // 32 seconds after the input: no longer active
    QCOMPARE(usage.activeDays(), 1.0 + 5.0 * second / day);
    QCOMPARE(usage.totalDays(), 2.0 + 40.0 * second / day);

    usage.tick(start + 35 * second); // a clock set back still adds time, never takes it away
    QCOMPARE(usage.totalDays(), 2.0 + 45.0 * second / day);
}

void TestUsageTracker::savesEveryThirtyMinutes()
{
    UsageTracker usage;
    usage.start(start, 0, 0);
    QVERIFY(!usage.tick(start + 29 * minute + 59 * second));
    QVERIFY(usage.tick(start + 30 * minute));
    QVERIFY(!usage.tick(start + 45 * minute));
    QVERIFY(usage.tick(start + 60 * minute));
}

void TestUsageTracker::idleRules_data()
{
    QTest::addColumn<qint64>("activityAgo"); // -1: no input since the start
    QTest::addColumn<int>("seconds");
    QTest::addColumn<bool>("idle");
    QTest::newRow("60 s without input") << 60 * second << 60 << true;
    QTest::newRow("55 s without input") << 55 * second << 60 << false;
    QTest::newRow("no input since the start") << qint64(-1) << 60 << false;
    QTest::newRow("hiding switched off") << 600 * second << 0 << false;
}

void TestUsageTracker::idleRules()
{
    QFETCH(qint64, activityAgo);
    QFETCH(int, seconds);
    QFETCH(bool, idle);
    UsageTracker usage;
    usage.start(start, 0, 0);
    const qint64 now = start + 10 * minute;
    if (activityAgo >= 0)
        usage.noteActivity(now - activityAgo);
    QCOMPARE(usage.idleFor(now, seconds), idle);
}

QTEST_GUILESS_MAIN(TestUsageTracker)
#include "tst_UsageTracker.moc"
