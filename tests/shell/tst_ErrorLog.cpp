#include "ErrorLog.h"
#include "ExpectedFailure.h"
#include "ModalAnswer.h"
#include "ProgramPaths.h"
#include "TestInstallation.h"
#include "VeldraApplication.h"

#include <QFile>
#include <QTest>

#include <stdexcept>

namespace {

QString contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class Expected : public std::runtime_error, public ExpectedFailure
{
public:
    using std::runtime_error::runtime_error;
};

// A window whose handler fails the way a programming error would, or as expected.
class FailingWidget : public QObject
{
public:
    bool expected = false;
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (expected)
            throw Expected("Drug uporabnik je vnos medtem spremenil");
        throw std::runtime_error("Podatkov ni mogoče shraniti");
    }
};

}

class TestErrorLog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void newLogBeginsWithHeader();
    void unwritableProgramFolderUsesStateFolder();
    void unhandledErrorIsLoggedShownAndSurvived();
    void expectedFailureIsOnlyTold();
};

void TestErrorLog::newLogBeginsWithHeader()
{
    TestInstallation installation;
    const QString log = installation.programFolder() + QStringLiteral("_errors_log.txt");
    QCOMPARE(ErrorLog::append({QStringLiteral("EDatabaseError"), QStringLiteral("TFMain"), QStringLiteral("prvo"), QStringLiteral("Prvo")}), log);
    QCOMPARE(ErrorLog::append({QStringLiteral("EConvertError"), QStringLiteral("TFMain"), QStringLiteral("drugo"), QString()}), log);

    const QStringList lines = contents(log).split(QLatin1Char('\n'));
    QCOMPARE(lines.first(), QStringLiteral("##################### exception log header"));
    QStringList keys;
    for (const QString &line : lines)
        if (line.contains(QLatin1String("= ")))
            keys << line.left(line.indexOf(QLatin1String("= ")) + 1);
    QCOMPARE(keys.mid(0, 14), (QStringList{"ExeModule=", "OSPlatform=", "CPUKind=", "CPUName=", "TotalPhys=", "AvailPhys=",
                                           "TotalPageFile=", "AvailPageFile=", "TotalVirtual=", "AvailVirtual=",
                                           "ColorDepth=", "SystemFont=", "VRefreshRate=", "GraphicResolution="}));
    QCOMPARE(keys.mid(14, 7), (QStringList{"Exception class=", "ExceptAddr=", "Computer=", "User=", "Datetime=",
                                           "ExceptionMessage=", "Message="}));
    QCOMPARE(lines.filter(QStringLiteral("exception log header end")).size(), 1);
    QVERIFY(lines.contains(QStringLiteral("Exception class= EConvertError")));
    QVERIFY(lines.contains(QStringLiteral("ExeModule= ") + installation.programFile()));
}

void TestErrorLog::unwritableProgramFolderUsesStateFolder()
{
    TestInstallation installation;
    ProgramPaths::setProgramFile(installation.root() + QStringLiteral("no/such/folder/veldra"));
    const QString log = ErrorLog::append({QStringLiteral("E"), QString(), QStringLiteral("x"), QString()});
    QCOMPARE(log, installation.root() + QStringLiteral("state/Veldra/_errors_log.txt"));
    QVERIFY(contents(log).contains(QLatin1String("ExceptionMessage= x")));
}

void TestErrorLog::unhandledErrorIsLoggedShownAndSurvived()
{
    TestInstallation installation;
    auto *app = static_cast<VeldraApplication *>(qApp);
    app->setErrorReportingActive(true);
    FailingWidget failing;
    failing.setObjectName(QStringLiteral("FKraji"));
    auto seen = ModalAnswer::press(QStringLiteral("OK"));
    QEvent event(QEvent::User);
    QVERIFY(!QApplication::sendEvent(&failing, &event));
    app->setErrorReportingActive(false);

    QCOMPARE(seen->title, QStringLiteral("Veldra"));
    QCOMPARE(seen->text, QStringLiteral("Podatkov ni mogoče shraniti"));
    const QString log = contents(installation.programFolder() + QStringLiteral("_errors_log.txt"));
    QVERIFY(log.contains(QLatin1String("Exception class= std::runtime_error")));
    QVERIFY(log.contains(QLatin1String("ExceptAddr= QObject FKraji, User")));
    QVERIFY2(log.contains(QStringLiteral("ExceptionMessage= Podatkov ni mogoče shraniti")), qPrintable(log));
}

void TestErrorLog::expectedFailureIsOnlyTold()
{
    TestInstallation installation;
    auto *app = static_cast<VeldraApplication *>(qApp);
    app->setErrorReportingActive(true);
    FailingWidget failing;
    failing.expected = true;
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    QEvent event(QEvent::User);
    QVERIFY(!QApplication::sendEvent(&failing, &event));
    app->setErrorReportingActive(false);

    QCOMPARE(seen->text, QStringLiteral("Drug uporabnik je vnos medtem spremenil"));
    QVERIFY(!QFile::exists(installation.programFolder() + QStringLiteral("_errors_log.txt")));
}

int main(int argc, char *argv[])
{
    VeldraApplication app(argc, argv);
    TestErrorLog test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ErrorLog.moc"
