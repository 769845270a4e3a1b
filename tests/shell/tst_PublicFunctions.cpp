#include "PublicFunctions.h"
#include "TextBlock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPublicFunctions : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void getToken_data();
    void getToken();
    void getTokenStopsAtField255();
    void textToVariant();
    void variantToInt_data();
    void variantToInt();
    void readTextBlock_data();
    void readTextBlock();
    void openDocumentInFolderStartsThere();
};

void TestPublicFunctions::getToken_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first") << "a;b;c" << ";" << 1 << "a";
    QTest::newRow("middle") << "a;b;c" << ";" << 2 << "b";
    QTest::newRow("last") << "a;b;c" << ";" << 3 << "c";
    QTest::newRow("past the end") << "a;b;c" << ";" << 4 << "";
    QTest::newRow("n = 0") << "a;b;c" << ";" << 0 << "";
    QTest::newRow("negative n") << "a;b;c" << ";" << -1 << "";
    QTest::newRow("empty text") << "" << ";" << 1 << "";
    QTest::newRow("no delimiter: whole text") << "abc" << ";" << 1 << "abc";
    QTest::newRow("no delimiter: no second field") << "abc" << ";" << 2 << "";
    QTest::newRow("empty field inside") << "a;;c" << ";" << 2 << "";
    QTest::newRow("after empty field") << "a;;c" << ";" << 3 << "c";
    QTest::newRow("trailing delimiter") << "a;b;" << ";" << 3 << "";
    QTest::newRow("leading delimiter") << ";b" << ";" << 1 << "";
    QTest::newRow("long delimiter") << "a<>b<>c" << "<>" << 2 << "b";
    QTest::newRow("long delimiter, last") << "a<>b<>c" << "<>" << 3 << "c";
    QTest::newRow("delimiter of repeated characters") << "a==b=c" << "==" << 2 << "b=c";
    QTest::newRow("layout setting") << "1,OP;0;0/0;0;0/0;0;0" << "/" << 2 << "0;0;0";
    QTest::newRow("blank field kept") << "x= y " << "=" << 2 << " y ";
}

void TestPublicFunctions::getToken()
{
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(int, n);
    QFETCH(QString, expected);
    QCOMPARE(GetToken(text, delimiter, n), expected);
}

void TestPublicFunctions::getTokenStopsAtField255()
{
    QStringList fields;
    for (int i = 1; i <= 300; ++i)
        fields << QStringLiteral("f%1").arg(i);
    const QString text = fields.join(QLatin1Char(';'));
    QCOMPARE(GetToken(text, QStringLiteral(";"), 255), QStringLiteral("f255"));
    // Field numbers are counted in eight bits: 256 must not wrap round to a real field.
    QCOMPARE(GetToken(text, QStringLiteral(";"), 256), QString());
    QCOMPARE(GetToken(text, QStringLiteral(";"), 257), QString());
}

void TestPublicFunctions::textToVariant()
{
    QVERIFY(TextToVariant(QString()).isNull());
    QVERIFY(TextToVariant(QStringLiteral("   ")).isNull());
    QCOMPARE(TextToVariant(QStringLiteral(" Novo mesto ")).toString(), QStringLiteral(" Novo mesto "));
}

void TestPublicFunctions::variantToInt_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("null") << QVariant() << 0;
    QTest::newRow("number") << QVariant(42) << 42;
    QTest::newRow("text") << QVariant(QStringLiteral("17")) << 17;
    QTest::newRow("not a number") << QVariant(QStringLiteral("abc")) << 0;
}

void TestPublicFunctions::variantToInt()
{
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QCOMPARE(VariantToInt(value), expected);
}

void TestPublicFunctions::readTextBlock_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    QTest::newRow("block") << QByteArray("[Program]\nZadnjaVerzija=2.310\n[Obvestilo]\nPrva vrstica\nDruga\n[END]\nzunaj\n")
                           << "Prva vrstica\r\nDruga\r\n";
    QTest::newRow("names without regard to case, end after other text")
        << QByteArray("x [obvestilo] x\r\nEna\r\nkonec [end]\r\nzunaj\r\n") << "Ena\r\n";
    QTest::newRow("no end: to the end of the file") << QByteArray("[Obvestilo]\nEna\nDve\n") << "Ena\r\nDve\r\n";
    QTest::newRow("second start line starts again") << QByteArray("[Obvestilo]\nstaro\n[Obvestilo]\nnovo\n[END]\n")
                                                     << "novo\r\n";
    QTest::newRow("missing block") << QByteArray("[Novosti]\nNovo\n[END]\n") << "";
    QTest::newRow("legacy code page") << QByteArray("[Obvestilo]\n\x8a\x9e\xe8\n[END]\n") << QStringLiteral("Šžč\r\n");
}

void TestPublicFunctions::readTextBlock()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QFile lastVer(dir.filePath(QStringLiteral("LastVer.ini")));
    QVERIFY(lastVer.open(QIODevice::WriteOnly));
    lastVer.write(file);
    lastVer.close();
    QCOMPARE(ReadTextBlock(lastVer.fileName(), QStringLiteral("Obvestilo")), expected);
    QCOMPARE(ReadTextBlock(dir.filePath(QStringLiteral("missing.ini")), QStringLiteral("Obvestilo")), QString());
}

void TestPublicFunctions::openDocumentInFolderStartsThere()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("program.sh"));
    QFile script(program);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\npwd > started-in.txt\n");
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));

    QVERIFY(OpenDocumentInFolder(program));
    QFile startedIn(dir.filePath(QStringLiteral("started-in.txt")));
    QTRY_VERIFY(startedIn.exists() && startedIn.size() > 0);
    QVERIFY(startedIn.open(QIODevice::ReadOnly));
    QCOMPARE(startedIn.readAll().trimmed(), QDir(dir.path()).canonicalPath().toUtf8());
}

QTEST_GUILESS_MAIN(TestPublicFunctions)
#include "tst_PublicFunctions.moc"
