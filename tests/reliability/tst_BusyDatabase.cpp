#include "Database.h"
#include "DatabaseError.h"
#include "FlatButton.h"
#include "ModalAnswer.h"
#include "PersonWindowWorld.h"
#include "VeldraApplication.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QTest>

namespace {

// Another workstation's write transaction, open until it ends: on a shared file it holds
// the file's write lock, on a server the row it changed.
class HeldWrite
{
public:
    HeldWrite(const DatabaseLocation &location, qint64 person)
        : m_database(location)
    {
        m_database.runNative(location.dialect == SqlDialect::Sqlite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN"));
        m_database.runNative(QStringLiteral("UPDATE TOsnovniPod SET Davcna = '12345678' WHERE ID = ?"), {person});
    }
    void end() { m_database.runNative(QStringLiteral("COMMIT")); }

private:
    Database m_database;
};

}

class TestBusyDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void personSavedWhileAnotherHoldsTheDatabase_data();
    void personSavedWhileAnotherHoldsTheDatabase();
};

void TestBusyDatabase::personSavedWhileAnotherHoldsTheDatabase_data()
{
    addDialectRows(QStringLiteral("held"));
}

// The user is told the database is busy, the edit stays in the form for another try,
// and the error log gets nothing: it is no fault of the program.
void TestBusyDatabase::personSavedWhileAnotherHoldsTheDatabase()
{
    VELDRA_FETCH_WORLD(world);
    world.dataMod->database().setBusyTimeout(200);
    const qint64 person = world.window->QOsebe->value(QStringLiteral("ID")).toLongLong();
    auto *street = world.child<QPlainTextEdit>("DBMemo1");
    street->setFocus();
    street->selectAll();
    QTest::keyClicks(street, QStringLiteral("Moja 2"));
    HeldWrite other(world.dataMod->database().location(), person);

    auto *app = static_cast<VeldraApplication *>(qApp);
    app->setErrorReportingActive(true);
    const auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    // Moving to another person saves this one.
    QTest::mouseClick(world.child<FlatButton>("FlatSpeedButton2"), Qt::LeftButton);
    app->setErrorReportingActive(false);

    QVERIFY(seen->shown);
    QCOMPARE(seen->text, QStringLiteral("Baza je zasedena, ker z njo trenutno dela drug uporabnik. Nič ni izgubljeno: "
                                        "poskusite znova čez nekaj trenutkov."));
    QVERIFY(QFile::exists(world.installation.programFolder()));
    QVERIFY(!QFile::exists(world.installation.programFolder() + QStringLiteral("_errors_log.txt")));
    QCOMPARE(world.window->QOsebe->state(), Dataset::State::Edit);
    QCOMPARE(street->toPlainText(), QStringLiteral("Moja 2"));

    other.end();
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT Naslov FROM TOsnovniPod WHERE ID = %1").arg(person)).toString(), QStringLiteral("Moja 2"));
    QCOMPARE(world.stored(QStringLiteral("SELECT Davcna FROM TOsnovniPod WHERE ID = %1").arg(person)).toString(), QStringLiteral("12345678"));
}

int main(int argc, char *argv[])
{
    VeldraApplication app(argc, argv);
    TestBusyDatabase test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_BusyDatabase.moc"
