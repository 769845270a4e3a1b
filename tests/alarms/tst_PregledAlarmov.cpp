#include "Dataset.h"
#include "DatasetModel.h"
#include "FlatButton.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "UDataMod.h"
#include "UFPregledAlarmov.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

// Alarms given as "person:kind:days:warning", days from today, kind "once" or "yearly"
// (then its date is that many days from today 28 years ago), warning "-" for null. The
// person's name tells the alarm in the lists. Late in the day, so that a yearly warning
// that reaches into the next year still begins today at the year's end.
struct AlarmWorld
{
    explicit AlarmWorld(const TestDatabase &testDatabase)
    {
        testDatabase.useIn(installation);
        dataMod = std::make_unique<TDataMod>();
        Database &db = database();
        db.run(QStringLiteral("INSERT INTO TEventAlarms (NazivAlarma, AlertNDaysBefore, AlertType) VALUES (\"Enkratni\", 7, 0)"));
        db.run(QStringLiteral("INSERT INTO TEventAlarms (NazivAlarma, AlertNDaysBefore, AlertType) VALUES (\"Letni\", 7, 2)"));
    }

    Database &database() { return dataMod->database(); }

    void addAlarms(const QStringList &alarms)
    {
        for (const QString &alarm : alarms) {
            const QStringList parts = alarm.split(QLatin1Char(':'));
            const bool yearly = parts[1] == QLatin1String("yearly");
            database().run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme) VALUES (:name)"), {{QStringLiteral("name"), parts[0]}});
            QDate date = today.addDays(parts[2].toInt());
            if (yearly)
                date = date.addYears(-28);
            database().run(QStringLiteral("INSERT INTO TOsnovniPodVezaAlarmi (IDOsebe, IDAlarm, DatumCas, AlertDaysBefore) "
                                          "SELECT Max(TOsnovniPod.ID), TEventAlarms.ID, :date, %1 FROM TOsnovniPod, TEventAlarms "
                                          "WHERE TEventAlarms.NazivAlarma = :kind GROUP BY TEventAlarms.ID")
                               .arg(parts[3] == QLatin1String("-") ? QStringLiteral("Null") : parts[3]),
                           {{QStringLiteral("date"), QDateTime(date, QTime(23, 59))},
                            {QStringLiteral("kind"), yearly ? QStringLiteral("Letni") : QStringLiteral("Enkratni")}});
        }
    }

    // The stamp written as it stands (an early date too, which the program would write as null).
    void setStamp(const QDateTime &stamp)
    {
        const QString value = stamp.isValid()
            ? QLatin1Char('\'') + stamp.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) + QLatin1Char('\'')
            : QStringLiteral("NULL");
        database().runNative(QStringLiteral("UPDATE TUsers SET LastAlarmEventsChecked = %1 WHERE IDUser = 1").arg(value));
    }

    QDateTime stamp()
    {
        Dataset *users = dataMod->TUsers;
        users->requery();
        if (!users->locate(QStringLiteral("IDUser"), 1))
            return {};
        return users->value(QStringLiteral("LastAlarmEventsChecked")).toDateTime();
    }

    // The persons of the alarms the window's query gives, in its order, of those named.
    QStringList inQueryOrder(const QStringList &names)
    {
        QSqlQuery query = database().run(QStringLiteral(
            "SELECT TOsnovniPod.CelotnoIme, TOsnovniPodVezaAlarmi.*, TEventAlarms.NazivAlarma, TEventAlarms.Ikona, "
            "TEventAlarms.BackColor, TEventAlarms.FontColor, TEventAlarms.Flashing, TEventAlarms.AlertType\n"
            "FROM (TOsnovniPodVezaAlarmi INNER JOIN TOsnovniPod ON TOsnovniPodVezaAlarmi.IDOsebe = "
            "TOsnovniPod.ID) INNER JOIN TEventAlarms ON TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID"));
        QStringList ordered;
        while (query.next())
            if (names.contains(query.value(0).toString()))
                ordered << query.value(0).toString();
        return ordered;
    }

    const QDate today = QDate::currentDate();
    TestInstallation installation;
    std::unique_ptr<TDataMod> dataMod;
};

// The rows the window lists: its query is read when it is shown.
QStringList listed(Dataset *alarms)
{
    QStringList names;
    if (!alarms->isOpen())
        alarms->open();
    const int name = alarms->fieldIndex(QStringLiteral("CelotnoIme"));
    for (int recNo = 1; recNo <= alarms->recordCount(); ++recNo)
        names << alarms->valueAt(recNo, name).toString();
    return names;
}

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList column(QTableView *grid, int column)
{
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        values << grid->model()->index(row, column).data().toString();
    return values;
}

// The alarms of the check tests: one-off ones from four days ago to two days ahead (and
// one whose warning starts today), yearly ones whose warning (their own days, the type's
// left aside) or day is today, one ahead and one just passed (then due next year).
const QStringList someAlarms = {
    "Ana:once:-4:0",   "Bor:once:-2:0",   "Cvet:once:0:0",    "Dan:once:1:0",  "Eva:once:2:0",
    "Fran:once:3:3",   "Gal:yearly:0:-",  "Hana:yearly:2:2",  "Iva:yearly:2:-", "Jan:yearly:-1:0",
};

}

class TestPregledAlarmov : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstCheckListsOnlyToday_data();
    void firstCheckListsOnlyToday();
    void checkCatchesUpSinceTheStamp_data();
    void checkCatchesUpSinceTheStamp();
    void nothingDueStillAdvancesTheStamp_data();
    void nothingDueStillAdvancesTheStamp();
    void windowListsTheDueRowsInTheQueryOrder_data();
    void windowListsTheDueRowsInTheQueryOrder();
};

void TestPregledAlarmov::firstCheckListsOnlyToday_data()
{
    addDialectColumn();
    QTest::addColumn<QDateTime>("stamp");
    QTest::addColumn<bool>("userRow");
    for (const SqlDialect dialect : allDialects()) {
        newDialectRow(QStringLiteral("no stamp"), dialect) << QDateTime() << true;
        newDialectRow(QStringLiteral("31.12.1899"), dialect) << QDateTime(QDate(1899, 12, 31), QTime(0, 0)) << true;
        newDialectRow(QStringLiteral("no user row"), dialect) << QDateTime() << false;
    }
}

void TestPregledAlarmov::firstCheckListsOnlyToday()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(QDateTime, stamp);
    QFETCH(bool, userRow);
    AlarmWorld world(testDatabase);
    world.addAlarms(someAlarms);
    world.setStamp(stamp);
    if (!userRow)
        world.database().run(QStringLiteral("DELETE FROM TUsers"));

    TFPregledAlarmov window;
    QVERIFY(window.hasDueAlarms());
    QCOMPARE(sorted(listed(window.ADOQuery1)), (QStringList{"Cvet", "Fran", "Gal", "Hana"}));
    QCOMPARE(world.stamp(), window.checkedAt());
    if (!userRow)
        QCOMPARE(stored(world.database(), QStringLiteral("SELECT UserName FROM TUsers WHERE IDUser = 1")).toString(),
                 QStringLiteral("Uporabnik"));
}

void TestPregledAlarmov::checkCatchesUpSinceTheStamp_data()
{
    addDialectColumn();
    QTest::addColumn<int>("stampDays");
    QTest::addColumn<QStringList>("due");
    for (const SqlDialect dialect : allDialects()) {
        newDialectRow(QStringLiteral("three days old"), dialect) << -3 << QStringList{"Bor", "Cvet", "Fran", "Gal", "Hana"};
        newDialectRow(QStringLiteral("earlier today"), dialect) << 0 << QStringList{"Cvet", "Fran", "Gal", "Hana"};
        // A clock that ran ahead wrote it: today's are still listed, none ahead of today.
        newDialectRow(QStringLiteral("two days ahead"), dialect) << 2 << QStringList{"Cvet", "Fran", "Gal", "Hana"};
    }
}

void TestPregledAlarmov::checkCatchesUpSinceTheStamp()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(int, stampDays);
    QFETCH(QStringList, due);
    AlarmWorld world(testDatabase);
    world.addAlarms(someAlarms);
    world.setStamp(QDateTime(world.today.addDays(stampDays), QTime(0, 0, 1)));

    TFPregledAlarmov window;
    QVERIFY(window.hasDueAlarms());
    QCOMPARE(sorted(listed(window.ADOQuery1)), due);
    QCOMPARE(world.stamp(), window.checkedAt());
    QVERIFY(qAbs(window.checkedAt().msecsTo(QDateTime::currentDateTime())) < 1500);
}

void TestPregledAlarmov::nothingDueStillAdvancesTheStamp_data()
{
    addDialectRows(QStringLiteral("nothing due"));
}

void TestPregledAlarmov::nothingDueStillAdvancesTheStamp()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    AlarmWorld world(testDatabase);
    world.addAlarms({"Ana:once:-4:0", "Dan:once:1:0", "Iva:yearly:2:-", "Jan:yearly:-1:0"});
    world.setStamp(QDateTime(world.today, QTime(0, 0, 1)));

    TFPregledAlarmov window;
    QVERIFY(!window.hasDueAlarms());
    QVERIFY(listed(window.ADOQuery1).isEmpty());
    QVERIFY(window.checkedAt() > QDateTime(world.today, QTime(0, 0, 1)));
    QCOMPARE(world.stamp(), window.checkedAt());
}

void TestPregledAlarmov::windowListsTheDueRowsInTheQueryOrder_data()
{
    addDialectRows(QStringLiteral("window"));
}

void TestPregledAlarmov::windowListsTheDueRowsInTheQueryOrder()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    AlarmWorld world(testDatabase);
    // Added out of the names' order, the due ones between those not due.
    world.addAlarms({"Zala:once:0:0", "Maja:once:1:0", "Bor:once:-1:0", "Ana:once:-9:0", "Kim:yearly:0:0", "Cvet:once:0:0"});
    world.setStamp(QDateTime(world.today.addDays(-1), QTime(8, 0)));

    TFPregledAlarmov window;
    QCOMPARE(FPregledAlarmov, &window);
    QVERIFY(window.hasDueAlarms());
    const QStringList due = world.inQueryOrder({"Zala", "Bor", "Kim", "Cvet"});
    QCOMPARE(sorted(due), (QStringList{"Bor", "Cvet", "Kim", "Zala"}));

    // Shown, the list is read again: the rows stay those of the check, though the stamp moved on.
    world.database().run(QStringLiteral("UPDATE TOsnovniPod SET CelotnoIme = \"Zala Nova\" WHERE CelotnoIme = \"Zala\""));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Pregled alarmov"));
    QVERIFY(window.DBGrid1->horizontalHeader()->isHidden());
    QStringList expected = due;
    expected.replaceInStrings(QStringLiteral("Zala"), QStringLiteral("Zala Nova"));
    QCOMPARE(column(window.DBGrid1, 0), expected);
    QStringList kinds;
    for (const QString &name : due)
        kinds << (name == QLatin1String("Kim") ? QStringLiteral("Letni") : QStringLiteral("Enkratni"));
    QCOMPARE(column(window.DBGrid1, 2), kinds);
    const int bor = int(due.indexOf(QStringLiteral("Bor")));
    QCOMPARE(column(window.DBGrid1, 1)[bor],
             DatasetModel::displayText(QDateTime(world.today.addDays(-1), QTime(23, 59))));

    // "Zapri" closes the window and lets the list go; shown again, the same rows.
    QTest::mouseClick(window.BitBtn1, Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QVERIFY(!window.ADOQuery1->isOpen());
    window.show();
    QCOMPARE(column(window.DBGrid1, 0), expected);
}

QTEST_MAIN(TestPregledAlarmov)
#include "tst_PregledAlarmov.moc"
