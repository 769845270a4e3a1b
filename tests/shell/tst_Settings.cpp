#include "ColourScheme.h"
#include "IniFile.h"
#include "Registry.h"
#include "Settings.h"
#include "TestInstallation.h"

#include <QFile>
#include <QLocale>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void registryKeepsValuesExactly_data();
    void registryKeepsValuesExactly();
    void registryIgnoresCaseAndReadsMissingAsEmpty();
    void registryThatCannotBeWrittenIsSkipped();
    void booleans_data();
    void booleans();
    void floatingPointInUserLocale();
    void dataFolder_data();
    void dataFolder();
    void dataFolderIsComputedOnce();
    void imageFolder_data();
    void imageFolder();
    void companyId();
    void autoHideSeconds();
    void autoShift();
    void colours();
};

void TestSettings::registryKeepsValuesExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "Veldra";
    QTest::newRow("path with backslashes") << "\\Backup\\Podatki /DATE/.mdb";
    QTest::newRow("edge blanks") << "  two blanks  ";
    QTest::newRow("quoted") << "\"quoted\"";
    QTest::newRow("line breaks and a section header") << "a\r\n[Software\\Veldra\\Barve]\nCT_WBack=1";
    QTest::newRow("equals sign") << "a=b";
    QTest::newRow("Slovenian letters") << "Čebelarska ulica 5, Šentjur, Žalec";
}

void TestSettings::registryKeepsValuesExactly()
{
    QFETCH(QString, value);
    TestInstallation installation;
    WriteRegString(QStringLiteral("Software\\Veldra\\Test"), QStringLiteral("Value"), value);
    WriteRegString(QStringLiteral("Software\\Veldra\\Test"), QStringLiteral("Next"), QStringLiteral("x"));
    QCOMPARE(ReadRegString(QStringLiteral("Software\\Veldra\\Test"), QStringLiteral("Value")), value);
    QCOMPARE(ReadRegString(QStringLiteral("Software\\Veldra\\Test"), QStringLiteral("Next")), QStringLiteral("x"));
}

void TestSettings::registryIgnoresCaseAndReadsMissingAsEmpty()
{
    TestInstallation installation;
    QCOMPARE(Registry::storePath(), installation.configFolder() + QStringLiteral("Veldra/registry.ini"));
    QCOMPARE(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID")), QString());
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID"), QStringLiteral("36"));
    QCOMPARE(ReadRegString(QStringLiteral("software\\veldra\\NASTAVITVE"), QStringLiteral("langid")), QStringLiteral("36"));
    WriteRegString(QStringLiteral("SOFTWARE\\Veldra\\Nastavitve"), QStringLiteral("LANGID"), QStringLiteral("1033"));
    QCOMPARE(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID")), QStringLiteral("1033"));
    QCOMPARE(IniFile(Registry::storePath()).readString(QStringLiteral("Software\\Veldra\\Nastavitve"), QStringLiteral("LangID")),
             QStringLiteral("1033"));
}

void TestSettings::registryThatCannotBeWrittenIsSkipped()
{
    TestInstallation installation;
    // The settings folder's place is taken by a file: nothing can be written, and nothing fails.
    QFile blocker(installation.configFolder() + QStringLiteral("Veldra"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID"), QStringLiteral("36"));
    QCOMPARE(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("LangID")), QString());
}

void TestSettings::booleans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    QTest::newRow("-1") << "-1" << false << true;
    QTest::newRow("0") << "0" << true << false;
    QTest::newRow("other number") << "5" << false << true;
    QTest::newRow("True typed by hand") << "True" << false << true;
    QTest::newRow("false in capitals") << "FALSE" << true << false;
    QTest::newRow("missing gives the default") << "" << true << true;
    QTest::newRow("unreadable gives the default") << "da" << false << false;
}

void TestSettings::booleans()
{
    QFETCH(QString, text);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    QCOMPARE(TextToBool(text, defaultValue), expected);
    QCOMPARE(TextToBool(BoolToText(expected), !expected), expected);
}

void TestSettings::floatingPointInUserLocale()
{
    TestInstallation installation;
    QLocale::setDefault(QLocale(QLocale::Slovenian, QLocale::Slovenia));
    WriteRegDouble(QString::fromLatin1(KeyNastavitve), QStringLiteral("statoh"), 1234.25);
    QCOMPARE(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("statoh")), QStringLiteral("1234,25"));
    QCOMPARE(ReadRegDouble(QString::fromLatin1(KeyNastavitve), QStringLiteral("statoh"), 0), 1234.25);
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("statoha"), QStringLiteral("0.5"));
    QCOMPARE(ReadRegDouble(QString::fromLatin1(KeyNastavitve), QStringLiteral("statoha"), 0), 0.5);
    QCOMPARE(ReadRegDouble(QString::fromLatin1(KeyNastavitve), QStringLiteral("missing"), 7), 7.0);
    QLocale::setDefault(QLocale::system());
}

void TestSettings::dataFolder_data()
{
    QTest::addColumn<QString>("pathPodatki");
    QTest::addColumn<QString>("expected"); // "<program>" stands for the program folder
    QTest::newRow("separator added") << "/srv/Podatki" << "/srv/Podatki/";
    QTest::newRow("separator kept") << "/srv/Podatki/" << "/srv/Podatki/";
    QTest::newRow("backslashes are separators") << "\\\\server\\Podatki" << "//server/Podatki/";
    QTest::newRow("relative value is not resolved") << "podatki" << "podatki/";
    QTest::newRow("blank gives the program folder") << "   " << "<program>";
}

void TestSettings::dataFolder()
{
    QFETCH(QString, pathPodatki);
    QFETCH(QString, expected);
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("PathPodatki"), pathPodatki}});
    installation.restart();
    QCOMPARE(GetDataFolder(), expected == QLatin1String("<program>") ? installation.programFolder() : expected);
}

void TestSettings::dataFolderIsComputedOnce()
{
    TestInstallation installation;
    QCOMPARE(GetDataFolder(), installation.dataFolder());
    installation.writeIni({{QStringLiteral("PathPodatki"), QStringLiteral("/elsewhere")}});
    QCOMPARE(GetDataFolder(), installation.dataFolder());
    // Without an INI the data folder is the program folder.
    QFile::remove(installation.iniFile());
    installation.restart();
    QCOMPARE(GetDataFolder(), installation.programFolder());
}

void TestSettings::imageFolder_data()
{
    QTest::addColumn<QString>("imagePath");
    QTest::addColumn<QString>("expected"); // "<data>" stands for the data folder
    QTest::newRow("below the data folder") << "\\Slike" << "<data>Slike/";
    QTest::newRow("deeper below the data folder") << "\\Slike\\Kategorije\\" << "<data>Slike/Kategorije/";
    QTest::newRow("absolute") << "/srv/slike" << "/srv/slike/";
    QTest::newRow("empty is the root") << "" << "/";
}

void TestSettings::imageFolder()
{
    QFETCH(QString, imagePath);
    QFETCH(QString, expected);
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("ImagePath"), imagePath}});
    QCOMPARE(GetImageFolder(), QString(expected).replace(QStringLiteral("<data>"), installation.dataFolder()));
}

void TestSettings::companyId()
{
    TestInstallation installation;
    installation.writeIni({{QStringLiteral("MaticniPodatki"), QStringLiteral("7")}});
    QCOMPARE(GetCompanyId(), 7);
    installation.writeIni({{QStringLiteral("MaticniPodatki"), QStringLiteral("8")}});
    QCOMPARE(GetCompanyId(), 7); // cached once greater than 0

    installation.restart();
    installation.writeIni({{QStringLiteral("MaticniPodatki"), QStringLiteral("ena")}});
    QVERIFY_THROWS_EXCEPTION(ConversionError, GetCompanyId());
    installation.writeIni({{QStringLiteral("MaticniPodatki"), QString()}});
    QVERIFY_THROWS_EXCEPTION(ConversionError, GetCompanyId());
}

void TestSettings::autoHideSeconds()
{
    TestInstallation installation;
    const QString key = QString::fromLatin1(KeyNastavitve);
    QCOMPARE(GetAutoHideSeconds(), 0); // SkrijAuto is false by default

    WriteRegString(key, QStringLiteral("SkrijAuto"), QStringLiteral("0"));
    WriteRegString(key, QStringLiteral("SkrijPo"), QStringLiteral("60"));
    ClearAutoHideSeconds();
    QCOMPARE(GetAutoHideSeconds(), 0);

    WriteRegString(key, QStringLiteral("SkrijAuto"), QStringLiteral("-1"));
    ClearAutoHideSeconds();
    QCOMPARE(GetAutoHideSeconds(), 60);
    WriteRegString(key, QStringLiteral("SkrijPo"), QStringLiteral("90"));
    QCOMPARE(GetAutoHideSeconds(), 60); // cached until cleared
    ClearAutoHideSeconds();
    QCOMPARE(GetAutoHideSeconds(), 90);

    WriteRegString(key, QStringLiteral("SkrijPo"), QString());
    ClearAutoHideSeconds();
    QCOMPARE(GetAutoHideSeconds(), 120);

    // A stored 0 is read again at every call.
    WriteRegString(key, QStringLiteral("SkrijPo"), QStringLiteral("0"));
    ClearAutoHideSeconds();
    QCOMPARE(GetAutoHideSeconds(), 0);
    WriteRegString(key, QStringLiteral("SkrijPo"), QStringLiteral("30"));
    QCOMPARE(GetAutoHideSeconds(), 30);
}

void TestSettings::autoShift()
{
    TestInstallation installation;
    QVERIFY(ReadAutoShift());
    QVERIFY(AutoShiftNames);
    WriteRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("AutoShift"), QStringLiteral("0"));
    QVERIFY(!ReadAutoShift());
    QVERIFY(!AutoShiftNames);
}

void TestSettings::colours()
{
    TestInstallation installation;
    const QString key = QString::fromLatin1(KeyBarve);
    LoadColours(key);
    QCOMPARE(ColourScheme.CT_WBack, QColor(0xC6, 0xE2, 0xFF));
    QCOMPARE(ColourScheme.CT_WTitleBack, QColor(0x00, 0x48, 0x91));
    QCOMPARE(ColourScheme.CT_BFont, QColor(Qt::white));

    WriteRegString(key, QStringLiteral("CT_WBack"), QString::number(0x0000FF)); // red in the low byte
    WriteRegString(key, QStringLiteral("CT_WTitleBack"), QStringLiteral("modra"));
    LoadColours(key);
    QCOMPARE(ColourScheme.CT_WBack, QColor(Qt::red));
    QCOMPARE(ColourScheme.CT_WTitleBack, QColor(0x00, 0x48, 0x91));
    QCOMPARE(ColourToRef(QColor(0x11, 0x22, 0x33)), qint64(0x332211));
    ColourScheme = TColourScheme::defaults();
}

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
