#include "SingleInstance.h"
#include "TestInstallation.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void secondCopyHandsOver();
    void lockOfADeadCopyIsTakenOver();
};

void TestSingleInstance::secondCopyHandsOver()
{
    TestInstallation installation;
    SingleInstance first;
    QVERIFY(first.claim());
    QSignalSpy asked(&first, &SingleInstance::activationRequested);

    SingleInstance second;
    QVERIFY(!second.claim());
    // The running copy has no window yet (its start-up message boxes run the event loop,
    // so the request is read): the request waits for the window.
    QTest::qWait(300);
    QCOMPARE(asked.count(), 0);
    first.deliverRequests();
    QTRY_COMPARE(asked.count(), 1);
    // From then on each second start is answered at once.
    SingleInstance later;
    QVERIFY(!later.claim());
    QTRY_COMPARE(asked.count(), 2);

    first.release();
    SingleInstance third;
    QVERIFY(third.claim());
}

void TestSingleInstance::lockOfADeadCopyIsTakenOver()
{
    TestInstallation installation;
    QProcess finished;
    finished.start(QStringLiteral("true"));
    QVERIFY(finished.waitForFinished());
    const qint64 deadPid = finished.processId() ? finished.processId() : 999999;
    QFile lock(installation.configFolder() + QStringLiteral("Veldra/KORVeldra12.lock"));
    QVERIFY(QFileInfo(lock.fileName()).dir().mkpath(QStringLiteral(".")));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(deadPid == 0 ? 999999 : deadPid) + "\nveldra\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    SingleInstance instance;
    QVERIFY(instance.claim());
}

QTEST_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
