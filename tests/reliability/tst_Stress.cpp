#include "StressCheck.h"
#include "StressRun.h"
#include "TestDatabase.h"

#include "Dataset.h"

#include <QTest>

namespace {

using Stress::Change;

// A change as a workstation notes it; the times are whole moments, one after another.
Change change(Change::Kind kind, Change::Outcome outcome, const char *table, qint64 key, qint64 start,
              QMap<QString, QString> fields = {}, qint64 person = 0)
{
    Change made(kind, QString::fromLatin1(table), key, person);
    made.workstation = 1;
    made.outcome = outcome;
    made.fields = std::move(fields);
    made.start = start;
    made.end = start + 1;
    return made;
}

const QString Ime = QStringLiteral("Ime");
const QString Value = QStringLiteral("Value");
using K = Change::Kind;
using O = Change::Outcome;

}

Q_DECLARE_METATYPE(QList<Stress::Change>)

class TestStress : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void workstationsAtOnce_data();
    void workstationsAtOnce();
    void checkFindsWhatWasToldWrongly_data();
    void checkFindsWhatWasToldWrongly();
};

void TestStress::workstationsAtOnce_data()
{
    addDialectRows(QStringLiteral("three workstations"));
}

void TestStress::workstationsAtOnce()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    Stress::RunSettings settings;
    settings.workstations = 3;
    settings.durationMs = 3000;
    const Stress::Verdict verdict = Stress::run(QStringLiteral(STRESS_PROGRAM), testDatabase.location(), settings);
    QVERIFY2(verdict.passed(), qPrintable(verdict.problems.join(QLatin1Char('\n'))));
    QVERIFY(verdict.commits > 100);
    // They did meet on the same rows.
    QVERIFY(verdict.conflictsReported > 0);
}

// The database holds person 1 named "b" with the contact 1 "c" (and person 2 unnamed);
// each row is what the workstations were told.
void TestStress::checkFindsWhatWasToldWrongly_data()
{
    QTest::addColumn<QList<Change>>("changes");
    QTest::addColumn<int>("lost");
    QTest::addColumn<int>("refusedLanded");
    QTest::addColumn<int>("keysReused");

    const Change added = change(K::Insert, O::Saved, "TOsnovniPod", 1, 0, {{Ime, QStringLiteral("a")}});
    const Change renamed = change(K::Update, O::Saved, "TOsnovniPod", 1, 2, {{Ime, QStringLiteral("b")}});
    const Change contact = change(K::Insert, O::Saved, "TOsnovniPodVezaKontakt", 1, 1, {{Value, QStringLiteral("c")}}, 1);
    QTest::newRow("as told") << QList<Change>{added, renamed, contact} << 0 << 0 << 0;
    QTest::newRow("refused later") << QList<Change>{added, renamed, change(K::Update, O::Conflict, "TOsnovniPod", 1, 4, {{Ime, QStringLiteral("x")}})}
                                   << 0 << 0 << 0;
    QTest::newRow("saved later, missing") << QList<Change>{added, renamed, change(K::Update, O::Saved, "TOsnovniPod", 1, 4, {{Ime, QStringLiteral("x")}})}
                                          << 1 << 0 << 0;
    QTest::newRow("at the same time") << QList<Change>{added, renamed, change(K::Update, O::Saved, "TOsnovniPod", 1, 2, {{Ime, QStringLiteral("x")}})}
                                      << 0 << 0 << 0;
    QTest::newRow("refused, held") << QList<Change>{added, change(K::Update, O::Busy, "TOsnovniPod", 1, 2, {{Ime, QStringLiteral("b")}})} << 0 << 1 << 0;
    QTest::newRow("failed unexpectedly") << QList<Change>{added, renamed, change(K::Read, O::Failed, "TOsnovniPod", 0, 5)} << 1 << 0 << 0;
    QTest::newRow("added, missing") << QList<Change>{added, renamed, change(K::Insert, O::Saved, "TOsnovniPodVezaKontakt", 7, 1, {{Value, QStringLiteral("d")}}, 1)}
                                    << 1 << 0 << 0;
    const Change gone = change(K::Insert, O::Saved, "TOsnovniPodVezaKontakt", 7, 1, {{Value, QStringLiteral("d")}}, 3);
    QTest::newRow("added, its person deleted") << QList<Change>{added, renamed, gone, change(K::Delete, O::Saved, "TOsnovniPod", 3, 3)} << 0 << 0 << 0;
    QTest::newRow("added, its person deleted before") << QList<Change>{added, renamed, change(K::Delete, O::Saved, "TOsnovniPod", 3, -3), gone}
                                                      << 1 << 0 << 0;
    QTest::newRow("refused, added") << QList<Change>{added, renamed, change(K::Insert, O::Busy, "TOsnovniPodVezaKontakt", 0, 1, {{Value, QStringLiteral("c")}}, 1)}
                                    << 0 << 1 << 0;
    QTest::newRow("refused for another person") << QList<Change>{added, renamed, change(K::Insert, O::Busy, "TOsnovniPodVezaKontakt", 0, 1, {{Value, QStringLiteral("c")}}, 2)}
                                                << 0 << 0 << 0;
    // An edit is based on the value it read.
    Change overwrote = change(K::Update, O::Saved, "TOsnovniPod", 1, 4, {{Ime, QStringLiteral("b")}});
    overwrote.bases = {{Ime, QStringLiteral("a")}};
    QTest::newRow("written over what it read") << QList<Change>{added, overwrote} << 0 << 0 << 0;
    const Change between = change(K::Update, O::Saved, "TOsnovniPod", 1, 2, {{Ime, QStringLiteral("x")}});
    QTest::newRow("written over what it had not read") << QList<Change>{added, between, overwrote} << 1 << 0 << 0;
    overwrote.bases = {{Ime, QStringLiteral("x")}};
    QTest::newRow("written over what it read last") << QList<Change>{added, between, overwrote} << 0 << 0 << 0;
    QTest::newRow("key twice") << QList<Change>{added, renamed, change(K::Insert, O::Saved, "TOsnovniPod", 1, 3, {{Ime, QStringLiteral("b")}})}
                               << 0 << 0 << 1;
}

void TestStress::checkFindsWhatWasToldWrongly()
{
    QFETCH(QList<Change>, changes);
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    database->run(QStringLiteral("INSERT INTO TOsnovniPod (Ime) VALUES (\"b\")"));
    database->run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme) VALUES (\"e\")"));
    database->run(QStringLiteral("INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, Value) VALUES (1, \"c\")"));
    const Stress::Verdict verdict = Stress::check(*database, changes);
    QVERIFY(verdict.integrityHolds);
    QTEST(verdict.lost, "lost");
    QTEST(verdict.refusedLanded, "refusedLanded");
    QTEST(verdict.keysReused, "keysReused");
}

QTEST_GUILESS_MAIN(TestStress)
#include "tst_Stress.moc"
