#include "UNamestitev.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The processes running the program file, found by what they execute.
QList<qint64> processesOf(const QString &program)
{
    QList<qint64> found;
    const QString wanted = QFileInfo(program).canonicalFilePath();
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        if (isPid && !wanted.isEmpty() && QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry)).symLinkTarget() == wanted)
            found << pid;
    }
    return found;
}

}

// The installation source folder as the build lays it out, installed from by the options
// window into folders of a home of its own: the installed program must then start on its
// database.
class TestSetupEndToEnd : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void installsAndStartsTheProgram();
    void cleanupTestCase();

private:
    QTemporaryDir m_root;
    QString m_source;
    QString m_program;
};

void TestSetupEndToEnd::initTestCase()
{
    QVERIFY(m_root.isValid());
    QProcess install;
    install.start(QStringLiteral(CMAKE_COMMAND), {QStringLiteral("--install"), QStringLiteral(BUILD_FOLDER), QStringLiteral("--prefix"),
                                                 m_root.filePath(QStringLiteral("dist")), QStringLiteral("--component"),
                                                 QStringLiteral("veldra")});
    QVERIFY(install.waitForFinished(120000));
    QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
    m_source = m_root.filePath(QStringLiteral("dist/lib/veldra/"));
    QVERIFY(QFileInfo(m_source + QStringLiteral("Setup.ini")).isFile());

    const QString home = m_root.filePath(QStringLiteral("home"));
    QDir().mkpath(home + QStringLiteral("/Desktop"));
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    // The started program has no bus to offer itself on; it needs none.
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

void TestSetupEndToEnd::installsAndStartsTheProgram()
{
    const QString home = m_root.filePath(QStringLiteral("home/"));
    TNamestitev window(ReadSetupScript(m_source));
    window.Edit2->setText(home + QStringLiteral("Programi/Veldra"));
    window.Edit3->setText(QStringLiteral("~/Skupno/Baza Veldra"));
    QStringList boxes;
    QTimer boxWatch;
    connect(&boxWatch, &QTimer::timeout, [&boxes] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            boxes << box->windowTitle();
            box->close();
        }
    });
    boxWatch.start(50);
    window.show();
    window.BitBtn1Click();
    QVERIFY2(boxes.isEmpty(), qPrintable(boxes.join(QLatin1Char('|'))));

    const QString program = home + QStringLiteral("Programi/Veldra/");
    const QString database = home + QStringLiteral("Skupno/Baza Veldra/");
    m_program = program + QStringLiteral("veldra");
    QVERIFY(QFileInfo(m_program).isExecutable());
    QVERIFY(QFileInfo(database + QStringLiteral("Veldra_be.mdb")).isFile());
    QVERIFY(QFileInfo(database + QStringLiteral("Slike")).isDir());
    QVERIFY(QFileInfo(program + QStringLiteral("Moduli/libveldra_primer_povezava.so")).isFile());
    const QSettings ini(program + QStringLiteral("veldra.ini"), QSettings::IniFormat);
    QCOMPARE(ini.value(QStringLiteral("Glavno/PathPodatki")).toString(), database);

    const QByteArray desktop = readFile(home + QStringLiteral("Desktop/Korvan Veldra.desktop"));
    QVERIFY2(desktop.contains(QByteArray("\nExec=\"" + m_program.toUtf8() + "\"\n")), desktop.constData());
    QVERIFY(desktop.contains(QByteArray("\nIcon=" + program.toUtf8() + "veldra.png\n")));
    QVERIFY(QFileInfo(home + QStringLiteral(".local/share/applications/Korvan Veldra/Korvan Veldra.desktop")).isFile());
    QVERIFY(readFile(home + QStringLiteral(".config/menus/applications-merged/Korvan Veldra.menu"))
                .contains("<Filename>Korvan Veldra-Korvan Veldra.desktop</Filename>"));

    // Started from its folder, the program finds its INI and its database and makes its
    // main window, which counts the start.
    const QString store = home + QStringLiteral(".config/Veldra/registry.ini");
    QTRY_VERIFY_WITH_TIMEOUT(readFile(store).contains("stato=1"), 30000);
    QVERIFY(readFile(database + QStringLiteral("LastVer.ini")).contains("LastAccessed="));
    QVERIFY(!processesOf(m_program).isEmpty());
}

void TestSetupEndToEnd::cleanupTestCase()
{
    if (m_program.isEmpty())
        return;
    for (const qint64 pid : processesOf(m_program))
        ::kill(pid_t(pid), SIGKILL);
    QTRY_VERIFY(processesOf(m_program).isEmpty());
}

QTEST_MAIN(TestSetupEndToEnd)
#include "tst_SetupEndToEnd.moc"
