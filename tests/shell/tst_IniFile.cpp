#include "IniFile.h"
#include "TextCodec.h"

#include <QDateTime>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

const QByteArray sample = "; nastavitve\n"
                          "[Glavno]\n"
                          "PathPodatki = /srv/podatki \n"
                          "ImagePath=\"  \\Slike  \"\n"
                          "Ime=prvi\n"
                          "IME=drugi\n"
                          "; opomba=ni kljuc\n"
                          "\n"
                          "[SETTINGS]\n"
                          "UpgradeProg=\\Upgrade\\up.so\n"
                          "[glavno]\n"
                          "Kasneje=ne velja\n";

}

class TestIniFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void read_data();
    void read();
    void readSectionValues();
    void writeKeepsEverythingElse_data();
    void writeKeepsEverythingElse();
    void writeCreatesFile();
    void writeToUnwritableFolderThrows();
    void deleteKey();
    void legacyFileStaysLegacy();
    void undecodableFileIsNotRewritten();
    void concurrentWritersLoseNothing();
    void lockOfAKilledWriterIsTakenOver();

private:
    QString write(const QByteArray &content);
    QByteArray contents() const;

    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::init()
{
    m_path = m_dir.filePath(QStringLiteral("test.ini"));
    QFile::remove(m_path);
}

QString TestIniFile::write(const QByteArray &content)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(content);
    return m_path;
}

QByteArray TestIniFile::contents() const
{
    QFile file(m_path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestIniFile::read_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("trimmed value") << "Glavno" << "PathPodatki" << "/srv/podatki";
    QTest::newRow("section and key without regard to case") << "GLAVNO" << "pathpodatki" << "/srv/podatki";
    QTest::newRow("enclosing quotes removed") << "Glavno" << "ImagePath" << "  \\Slike  ";
    QTest::newRow("first duplicate wins") << "Glavno" << "ime" << "prvi";
    QTest::newRow("comment is no key") << "Glavno" << "; opomba" << "";
    QTest::newRow("key of another section") << "Glavno" << "UpgradeProg" << "";
    QTest::newRow("second section of the same name does not count") << "Glavno" << "Kasneje" << "";
    QTest::newRow("missing key") << "SETTINGS" << "Nothing" << "";
    QTest::newRow("missing section") << "Drugo" << "Ime" << "";
}

void TestIniFile::read()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const IniFile ini(write(sample));
    QCOMPARE(ini.readString(section, key), expected);
    QCOMPARE(IniFile(m_dir.filePath(QStringLiteral("missing.ini"))).readString(section, key), QString());
}

void TestIniFile::readSectionValues()
{
    const IniFile ini(write(sample));
    QStringList lines{QStringLiteral("unchanged")};
    QVERIFY(!ini.readSectionValues(QStringLiteral("Nothing"), &lines));
    QCOMPARE(lines, QStringList{QStringLiteral("unchanged")});
    QVERIFY(ini.readSectionValues(QStringLiteral("glavno"), &lines));
    QCOMPARE(lines, (QStringList{QStringLiteral("PathPodatki=/srv/podatki"), QStringLiteral("ImagePath=\"  \\Slike  \""),
                                 QStringLiteral("Ime=prvi")}));
}

void TestIniFile::writeKeepsEverythingElse_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replace first duplicate, keep its spelling")
        << QByteArray("; c\n[A]\nKey=1\nkey=2\n[B]\nx=y\n") << "a" << "KEY" << "3"
        << QByteArray("; c\n[A]\nKey=3\nkey=2\n[B]\nx=y\n");
    QTest::newRow("new key at the end of its section, before blank lines")
        << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << "A" << "z" << "9" << QByteArray("[A]\nx=1\nz=9\n\n[B]\ny=2\n");
    QTest::newRow("new section at the end") << QByteArray("[A]\nx=1\n") << "Uporabniki" << "PC1" << "2.310"
                                            << QByteArray("[A]\nx=1\n\n[Uporabniki]\nPC1=2.310\n");
    QTest::newRow("windows line ends kept") << QByteArray("[A]\r\nx=1\r\n") << "A" << "x" << "2"
                                            << QByteArray("[A]\r\nx=2\r\n");
    QTest::newRow("line breaks in a value cannot break the file")
        << QByteArray("[A]\n") << "A" << "x" << "a\n[B]\r\nb" << QByteArray("[A]\nx=a [B] b\n");
}

void TestIniFile::writeKeepsEverythingElse()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    IniFile(write(before)).writeString(section, key, value);
    QCOMPARE(contents(), after);
}

void TestIniFile::writeCreatesFile()
{
    IniFile ini(m_path);
    ini.writeString(QStringLiteral("Uporabniki"), QStringLiteral("Računalnik"), QStringLiteral("2.310 čšž"));
    QCOMPARE(ini.readString(QStringLiteral("uporabniki"), QStringLiteral("računalnik")), QStringLiteral("2.310 čšž"));
    QCOMPARE(contents(), QStringLiteral("[Uporabniki]\nRačunalnik=2.310 čšž\n").toUtf8());
    QVERIFY(!QFile::exists(m_path + QStringLiteral(".lock")));
}

void TestIniFile::writeToUnwritableFolderThrows()
{
    IniFile ini(m_dir.filePath(QStringLiteral("no/such/folder/x.ini")));
    QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.writeString(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")));
}

void TestIniFile::deleteKey()
{
    IniFile ini(write("[A]\nx=1\ny=2\nX=3\n[B]\nx=4\n"));
    ini.deleteKey(QStringLiteral("a"), QStringLiteral("x"));
    QCOMPARE(contents(), QByteArray("[A]\ny=2\n[B]\nx=4\n"));
    ini.deleteKey(QStringLiteral("A"), QStringLiteral("missing"));
    QCOMPARE(contents(), QByteArray("[A]\ny=2\n[B]\nx=4\n"));
}

void TestIniFile::legacyFileStaysLegacy()
{
    // "Šola" and "Čas" in Windows-1250, as older installations wrote them.
    IniFile ini(write("[Glavno]\nIme=\x8aola\n"));
    QCOMPARE(ini.readString(QStringLiteral("Glavno"), QStringLiteral("Ime")), QStringLiteral("Šola"));
    ini.writeString(QStringLiteral("Glavno"), QStringLiteral("Drugo"), QStringLiteral("Čas"));
    QCOMPARE(contents(), QByteArray("[Glavno]\nIme=\x8aola\nDrugo=\xc8" "as\n"));
    // Text the old code page cannot hold turns the file into UTF-8 rather than losing it.
    ini.writeString(QStringLiteral("Glavno"), QStringLiteral("Znak"), QStringLiteral("€ → ✓"));
    QCOMPARE(ini.readString(QStringLiteral("Glavno"), QStringLiteral("Znak")), QStringLiteral("€ → ✓"));
    QCOMPARE(ini.readString(QStringLiteral("Glavno"), QStringLiteral("Ime")), QStringLiteral("Šola"));
}

void TestIniFile::undecodableFileIsNotRewritten()
{
    const QByteArray legacy = "[Glavno]\nIme=\x8aola\n";
    IniFile ini(write(legacy));
    // A platform without the legacy code page.
    const QByteArray usual = TextCodec::setLegacyCodePage("no-such-code-page");
    const auto restore = qScopeGuard([&usual] { TextCodec::setLegacyCodePage(usual); });
    QCOMPARE(ini.readString(QStringLiteral("Glavno"), QStringLiteral("Ime")), QStringLiteral("\uFFFDola"));
    QVERIFY_THROWS_EXCEPTION(IniWriteError,
                             ini.writeString(QStringLiteral("Glavno"), QStringLiteral("Drugo"), QStringLiteral("x")));
    QVERIFY_THROWS_EXCEPTION(IniWriteError, ini.deleteKey(QStringLiteral("Glavno"), QStringLiteral("Ime")));
    QCOMPARE(contents(), legacy);
}

void TestIniFile::concurrentWritersLoseNothing()
{
    // Workstations write their own keys of one shared file at the same time.
    const int writers = 4, keys = 25;
    QList<QThread *> threads;
    for (int w = 0; w < writers; ++w) {
        threads.append(QThread::create([this, w] {
            IniFile ini(m_path);
            for (int k = 0; k < keys; ++k)
                ini.writeString(QStringLiteral("Uporabniki"), QStringLiteral("PC%1-%2").arg(w).arg(k), QString::number(k));
        }));
        threads.last()->start();
    }
    for (QThread *thread : threads) {
        QVERIFY(thread->wait(60000));
        delete thread;
    }
    QStringList lines;
    QVERIFY(IniFile(m_path).readSectionValues(QStringLiteral("Uporabniki"), &lines));
    QCOMPARE(lines.size(), writers * keys);
}

void TestIniFile::lockOfAKilledWriterIsTakenOver()
{
    // A writer killed between making its lock file and writing its name in it leaves the
    // file empty, with nothing to tell that its writer is gone.
    QFile lock(m_path + QStringLiteral(".lock"));
    QVERIFY(lock.open(QIODevice::WriteOnly));
    QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-6), QFileDevice::FileModificationTime));
    lock.close();
    IniFile ini(write("[A]\nx=1\n"));
    ini.writeString(QStringLiteral("A"), QStringLiteral("y"), QStringLiteral("2"));
    QCOMPARE(contents(), QByteArray("[A]\nx=1\ny=2\n"));
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_IniFile.moc"
