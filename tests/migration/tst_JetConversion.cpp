#include "Database.h"
#include "JetConversion.h"
#include "ModalAnswer.h"
#include "Settings.h"
#include "TestInstallation.h"

#include <QAbstractButton>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace {

using DatabaseImport::Mapping;

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

// The data folder's database is the sample file.
QString installSample(const TestInstallation &installation, const char *name)
{
    QFile::remove(installation.databaseFile());
    if (!QFile::copy(QStringLiteral(SAMPLES) + QLatin1String(name), installation.databaseFile()))
        return {};
    QFile::setPermissions(installation.databaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    return installation.databaseFile();
}

QString converter()
{
    return QStringLiteral(VELDRA_BINARY);
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

// A dialog's button clicked; what answers a dialog that the click shows is set up before.
void click(QWidget *dialog, const QString &caption)
{
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        if (button->text() == caption)
            button->click();
}

// The persons of the sample: its key, its text as their surname.
const Mapping personsMapping{{QStringLiteral("Table"), QStringLiteral("TOsnovniPod"), {{"ID", "ID"}, {"Unicode", "Priimek"}}}};

}

class TestJetConversion : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void declinedLeavesTheFileAsItWas();
    void acceptedConvertsAndKeepsTheFileAside_data();
    void acceptedConvertsAndKeepsTheFileAside();
    void failedConversionLeavesTheFileAsItWas();
    void cancelledConversionLeavesTheFileAsItWas();
    void unreadableFileIsToldWithoutAsking_data();
    void unreadableFileIsToldWithoutAsking();
    void otherFilesAreLeftAlone();
};

void TestJetConversion::declinedLeavesTheFileAsItWas()
{
    TestInstallation installation;
    const QString file = installSample(installation, "testUnicodeCompV2003.mdb");
    QVERIFY(!file.isEmpty());
    const QByteArray before = contentOf(file);
    const QStringList files = filesIn(installation.dataFolder());
    auto question = std::make_shared<ModalAnswer::Seen>();
    bool anotherShown = false;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        *question = ModalAnswer::describe(dialog);
        // Nothing more is shown once the user said no.
        ModalAnswer::whenShown(
            [&anotherShown](QWidget *another) {
                anotherShown = true;
                another->close();
            },
            500);
        click(dialog, QStringLiteral("Ne"));
    });
    QVERIFY(!JetConversion::OfferAtStart(file, personsMapping, converter()));
    QTest::qWait(600);
    QVERIFY(!anotherShown);
    QVERIFY(question->shown);
    QCOMPARE(question->buttons, (QStringList{"Ne", "Da"}));
    QVERIFY2(question->text.contains(QStringLiteral("Microsoft Access")) && question->text.contains(QStringLiteral("\"Veldra_be (Access).mdb\""))
                 && question->text.contains(QStringLiteral("Windows")),
             qPrintable(question->text));
    QCOMPARE(contentOf(file), before);
    QCOMPARE(filesIn(installation.dataFolder()), files);
}

void TestJetConversion::acceptedConvertsAndKeepsTheFileAside_data()
{
    QTest::addColumn<bool>("nameTaken");
    QTest::addColumn<QString>("keptAs");
    QTest::newRow("first time") << false << QStringLiteral("Veldra_be (Access).mdb");
    QTest::newRow("a kept file there already") << true << QStringLiteral("Veldra_be (Access 2).mdb");
}

void TestJetConversion::acceptedConvertsAndKeepsTheFileAside()
{
    QFETCH(bool, nameTaken);
    QFETCH(QString, keptAs);
    TestInstallation installation;
    const QString file = installSample(installation, "testUnicodeCompV2003.mdb");
    QVERIFY(!file.isEmpty());
    const QByteArray before = contentOf(file);
    const QString taken = installation.dataFolder() + QStringLiteral("Veldra_be (Access).mdb");
    if (nameTaken) {
        QFile earlier(taken);
        QVERIFY(earlier.open(QIODevice::WriteOnly));
        earlier.write("kept from before");
    }
    ModalAnswer::Seen question;
    ModalAnswer::Seen summary;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        question = ModalAnswer::describe(dialog);
        // The conversion runs in the click; the window then tells what came over.
        click(dialog, QStringLiteral("Da"));
        summary = ModalAnswer::describe(dialog);
        click(dialog, QStringLiteral("V redu"));
    });
    QVERIFY(JetConversion::OfferAtStart(file, personsMapping, converter()));
    QCOMPARE(question.buttons, (QStringList{"Ne", "Da"}));
    QCOMPARE(summary.buttons, QStringList{QStringLiteral("V redu")});
    QVERIFY2(summary.text.contains(QStringLiteral("Osebe in podjetja (TOsnovniPod): 8")), qPrintable(summary.text));
    QVERIFY2(summary.text.contains(QStringLiteral("\"%1\"").arg(keptAs)), qPrintable(summary.text));

    // The Windows program's file, whole, beside the converted one; nothing else left.
    QCOMPARE(contentOf(installation.dataFolder() + keptAs), before);
    if (nameTaken)
        QCOMPARE(contentOf(taken), QCryptographicHash::hash("kept from before", QCryptographicHash::Sha256));
    QVERIFY(!QFileInfo::exists(file + QStringLiteral(".pretvorba")));
    // The program opens the converted file as its database.
    const Database database(DatabaseLocation::sqliteFile(file));
    QStringList surnames;
    database.read(QStringLiteral("SELECT Priimek FROM TOsnovniPod ORDER BY ID"), {}, [](const QStringList &) {},
                  [&](const QVariant *values) { surnames << values[0].toString(); });
    QCOMPARE(surnames.size(), 8);
    QCOMPARE(surnames[2], QStringLiteral("Мир"));
    // And the program starts on it: it records its window once every window exists.
    installation.installProgram(converter());
    installation.writeLatestVersion();
    QProcess program;
    program.setProgram(installation.programFile());
    program.setWorkingDirectory(installation.root());
    program.start();
    QTRY_VERIFY_WITH_TIMEOUT(!ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Handle")).isEmpty(), 30000);
    QCOMPARE(program.state(), QProcess::Running);
    program.kill();
    program.waitForFinished();
}

void TestJetConversion::failedConversionLeavesTheFileAsItWas()
{
    TestInstallation installation;
    const QString file = installSample(installation, "testUnicodeCompV2003.mdb");
    QVERIFY(!file.isEmpty());
    const QByteArray before = contentOf(file);
    const QStringList files = filesIn(installation.dataFolder());
    // The last text is longer than a company's name may be.
    const Mapping tooLong{{QStringLiteral("Table"), QStringLiteral("TOsnovniPod"), {{"ID", "ID"}, {"Unicode", "Naziv"}}}};
    std::shared_ptr<ModalAnswer::Seen> error;
    ModalAnswer::whenShown([&error](QWidget *question) {
        click(question, QStringLiteral("Da"));
        // The reason shows once the window has closed.
        error = ModalAnswer::press(QStringLiteral("OK"));
    });
    QVERIFY(!JetConversion::OfferAtStart(file, tooLong, converter()));
    QVERIFY(error && error->shown);
    QVERIFY2(error->text.contains(QStringLiteral("TOsnovniPod")), qPrintable(error->text));
    QCOMPARE(contentOf(file), before);
    QCOMPARE(filesIn(installation.dataFolder()), files);
}

void TestJetConversion::cancelledConversionLeavesTheFileAsItWas()
{
    TestInstallation installation;
    const QString file = installSample(installation, "testUnicodeCompV2003.mdb");
    QVERIFY(!file.isEmpty());
    const QByteArray before = contentOf(file);
    const QStringList files = filesIn(installation.dataFolder());
    ModalAnswer::Seen end;
    ModalAnswer::whenShown([&end](QWidget *dialog) {
        // The conversion lets the window answer between its tables.
        QTimer::singleShot(0, dialog, [dialog] { click(dialog, QStringLiteral("Prekliči")); });
        click(dialog, QStringLiteral("Da"));
        end = ModalAnswer::describe(dialog);
        click(dialog, QStringLiteral("V redu"));
    });
    QVERIFY(!JetConversion::OfferAtStart(file, personsMapping, converter()));
    QVERIFY2(end.text.contains(QStringLiteral("prekinjena")), qPrintable(end.text));
    QCOMPARE(contentOf(file), before);
    QCOMPARE(filesIn(installation.dataFolder()), files);
}

void TestJetConversion::unreadableFileIsToldWithoutAsking_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QByteArray>("converterScript");
    QTest::addColumn<QString>("reason");
    QTest::newRow("only the header") << QString() << QByteArray() << QStringLiteral("Microsoft Access");
    QTest::newRow("no table of the program") << QStringLiteral("testV2003.mdb") << QByteArray()
                                             << QStringLiteral("nima nobene tabele programa Veldra");
    // The reader would take all memory; the converter is stopped, and the program goes on.
    QTest::newRow("damaged") << QStringLiteral("damaged.mdb") << QByteArray() << QStringLiteral("poškodovana");
    QTest::newRow("the converter crashes") << QStringLiteral("testUnicodeCompV2003.mdb") << QByteArray("kill -SEGV $$\n")
                                           << QStringLiteral("končalo z napako");
    QTest::newRow("the converter fails without a word") << QStringLiteral("testUnicodeCompV2003.mdb") << QByteArray("exit 1\n")
                                                        << QStringLiteral("ni uspelo");
}

void TestJetConversion::unreadableFileIsToldWithoutAsking()
{
    QFETCH(QString, sample);
    QFETCH(QByteArray, converterScript);
    QFETCH(QString, reason);
    TestInstallation installation;
    QString program = converter();
    if (!converterScript.isEmpty()) {
        program = installation.root() + QStringLiteral("converter.sh");
        QFile script(program);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\n" + converterScript);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (sample.isEmpty())
        installation.createDatabase(QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4096, '\0'));
    else
        QVERIFY(!installSample(installation, sample.toLatin1().constData()).isEmpty());
    const QByteArray before = contentOf(installation.databaseFile());
    auto error = ModalAnswer::press(QStringLiteral("OK"), 30000);
    QVERIFY(!JetConversion::OfferAtStart(installation.databaseFile(), std::nullopt, program));
    QVERIFY(error->shown);
    QVERIFY2(error->text.contains(reason) && !error->text.contains(QStringLiteral("pretvoriti")), qPrintable(error->text));
    QCOMPARE(contentOf(installation.databaseFile()), before);
}

void TestJetConversion::otherFilesAreLeftAlone()
{
    TestInstallation installation;
    installation.createDatabase(QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\0'));
    bool asked = false;
    ModalAnswer::whenShown(
        [&asked](QWidget *dialog) {
            asked = true;
            dialog->close();
        },
        200);
    QVERIFY(JetConversion::OfferAtStart(installation.databaseFile(), std::nullopt, converter()));
    QTest::qWait(300);
    QVERIFY(!asked);
}

QTEST_MAIN(TestJetConversion)
#include "tst_JetConversion.moc"
