#include "DatabaseError.h"
#include "JetFile.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QtEndian>

#include <cstring>

namespace {

QString sample(const char *name)
{
    return QStringLiteral(SAMPLES) + QLatin1String(name);
}

// Every row of a table, each as its columns' values.
QList<QVariantList> rowsOf(const JetFile &file, const QString &table, const QStringList &columns)
{
    QList<QVariantList> rows;
    file.read(table, columns, [&](const QVariant *values) {
        QVariantList row;
        for (qsizetype i = 0; i < columns.size(); ++i)
            row << values[i];
        rows << row;
    });
    return rows;
}

QVariantList rowWhere(const JetFile &file, const QString &table, const QStringList &columns, const QVariant &first)
{
    for (const QVariantList &row : rowsOf(file, table, columns))
        if (row.first() == first)
            return row;
    return {};
}

QDateTime moment(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone::utc());
}

// A copy of a sample with the one place of some bytes changed, and header bytes flipped.
QString patched(QTemporaryDir &dir, const char *name, const QByteArray &from, const QByteArray &to, qsizetype headerByte = -1,
                char flip = 0)
{
    QFile original(sample(name));
    if (!original.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = original.readAll();
    const qsizetype at = bytes.indexOf(from);
    if (at < 0 || bytes.indexOf(from, at + 1) >= 0 || from.size() != to.size())
        return {};
    bytes.replace(at, to.size(), to);
    if (headerByte >= 0)
        bytes[headerByte] = char(bytes[headerByte] ^ flip);
    const QString path = dir.filePath(QLatin1String(name));
    QFile copy(path);
    if (!copy.open(QIODevice::WriteOnly) || copy.write(bytes) != bytes.size())
        return {};
    return path;
}

}

class TestJetFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void tablesAndColumns();
    void valuesOfEveryType_data();
    void valuesOfEveryType();
    void textInThreeScripts();
    void compressedTextSwitchesRuns();
    void memoAndLongText();
    void emptyDates_data();
    void emptyDates();
    void jet3TextInTheFilesCodePage_data();
    void jet3TextInTheFilesCodePage();
    void refusesWhatItCannotRead_data();
    void refusesWhatItCannotRead();
};

void TestJetFile::tablesAndColumns()
{
    const JetFile file(sample("testV2003.mdb"));
    QCOMPARE(file.tables(), (QStringList{"Table1", "Table2", "Table3", "Table4"}));
    QCOMPARE(file.columns(QStringLiteral("table1")), (QStringList{"A", "B", "C", "D", "E", "F", "G", "H", "I"}));
    QCOMPARE(file.rowCount(QStringLiteral("Table1")), 2);
    QCOMPARE(file.rowCount(QStringLiteral("Table2")), 0);
    QVERIFY(rowsOf(file, QStringLiteral("Table2"), {QStringLiteral("column1")}).isEmpty());
}

void TestJetFile::valuesOfEveryType_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("column");
    // Each value of the row that the first column's value names.
    QTest::addColumn<QVariantMap>("values");
    for (const char *name : {"testV1997.mdb", "testV2003.mdb"}) {
        const auto add = [name](const char *type, const char *column, const QVariant &full, const QVariant &least) {
            QTest::addRow("%s %s", type, name) << QString::fromLatin1(name) << QString::fromLatin1(column)
                                               << QVariantMap{{QStringLiteral("abcdefg"), full}, {QStringLiteral("a"), least}};
        };
        add("text", "B", QStringLiteral("hijklmnop"), QStringLiteral("b"));
        add("byte", "C", qint64(2), qint64(0));
        add("integer", "D", qint64(222), qint64(0));
        add("long", "E", qint64(333333333), qint64(0));
        add("double", "F", 444.555, 0.0);
        add("date", "G", moment(1974, 9, 21), moment(1981, 12, 12));
        add("currency", "H", 3.5, 0.0);
        add("yes/no", "I", true, false);
    }
    QTest::addRow("date with a time") << QStringLiteral("fixedTextTestV2003.mdb") << QStringLiteral("d_stamp_")
                                      << QVariantMap{{QStringLiteral("1"), moment(2009, 11, 5, 23, 41, 28)},
                                                     {QStringLiteral("2"), moment(2009, 10, 22, 3, 57, 13)}};
    QTest::addRow("negative long") << QStringLiteral("fixedTextTestV2003.mdb") << QStringLiteral("i_user_merch")
                                   << QVariantMap{{QStringLiteral("1"), qint64(-1)}, {QStringLiteral("2"), qint64(120)}};
}

void TestJetFile::valuesOfEveryType()
{
    QFETCH(QString, file);
    QFETCH(QString, column);
    QFETCH(QVariantMap, values);
    const JetFile jet(sample(file.toLatin1().constData()));
    const QString table = jet.tables().first();
    const QList<QVariantList> rows = rowsOf(jet, table, {jet.columns(table).first(), column});
    QCOMPARE(rows.size(), values.size());
    for (const QVariantList &row : rows) {
        const QVariant expected = values.value(row[0].toString());
        QCOMPARE(row[1].typeId(), expected.typeId());
        QCOMPARE(row[1], expected);
    }
}

void TestJetFile::textInThreeScripts()
{
    const JetFile file(sample("testUnicodeCompV2003.mdb"));
    const QStringList columns{QStringLiteral("ID"), QStringLiteral("Unicode")};
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), columns, qint64(2)).value(1), QVariant(QStringLiteral("ääkkösiä")));
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), columns, qint64(3)).value(1), QVariant(QStringLiteral("Мир")));
    // The accents as the file keeps them, with oxia.
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), columns, qint64(4)).value(1),
             QVariant(QString::fromUtf16(u"\u03f0\u03b1\u1f76 \u03c4\u1f79\u03c4' \u1f10\u03b3\u1f7c \u039a\u1f7b\u03f0\u03bb\u03c9\u03c0\u03b1")));
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), columns, qint64(5)).value(1), QVariant(QStringLiteral("漢字仮名交じり文")));
    // Compressed runs switch to two bytes a character and back within one text.
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), columns, qint64(6)).value(1), QVariant(QString::fromUtf16(u"3L9\u001d52\u0002_AB(\u00a5\u0005!!V")));
    const QString every = rowWhere(file, QStringLiteral("Table"), columns, qint64(8)).value(1).toString();
    QVERIFY2(every.endsWith(QStringLiteral("ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ")), qPrintable(every));
}

void TestJetFile::compressedTextSwitchesRuns()
{
    QTemporaryDir dir;
    // "ääkkösiä", compressed, in place of which: "a", a run of two bytes for "č", then "bcd".
    const QString path = patched(dir, "testUnicodeCompV2003.mdb", QByteArray::fromHex("fffee4e46b6bf67369e4"),
                                 QByteArray::fromHex("fffe61000d0100626364"));
    QVERIFY(!path.isEmpty());
    const JetFile file(path);
    QCOMPARE(rowWhere(file, QStringLiteral("Table"), {QStringLiteral("ID"), QStringLiteral("Unicode")}, qint64(2)).value(1),
             QVariant(QStringLiteral("ačbcd")));
}

void TestJetFile::memoAndLongText()
{
    const JetFile file(sample("test2V2003.mdb"));
    const QVariantList row = rowsOf(file, QStringLiteral("MSP_PROJECTS"),
                                    {QStringLiteral("PROJ_PROP_AUTHOR"), QStringLiteral("PROJ_PROP_COMPANY"), QStringLiteral("PROJ_PROP_CATEGORY"),
                                     QStringLiteral("PROJ_OPT_CURRENCY_SYMBOL"), QStringLiteral("PROJ_INFO_CAL_NAME")})
                                 .value(0);
    // Kept on a page of long values.
    const QString author = row.value(0).toString();
    QVERIFY2(author.startsWith(QStringLiteral("Jon Iles this is a a vawesrasoih")), qPrintable(author));
    QCOMPARE(author.size(), 348);
    QVERIFY2(author.endsWith(QStringLiteral("sjadf as")), qPrintable(author));
    // Kept in the row.
    QCOMPARE(row.value(1), QVariant(QStringLiteral("T")));
    QVERIFY(row.value(2).isNull());
    QCOMPARE(row.value(3), QVariant(QStringLiteral("£")));
    QCOMPARE(row.value(4), QVariant(QStringLiteral("Standard")));
}

void TestJetFile::emptyDates_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QVariant>("read");
    const auto jetDate = [](double days) {
        QByteArray bytes(8, '\0');
        const double little = qToLittleEndian(days);
        std::memcpy(bytes.data(), &little, 8);
        return bytes;
    };
    QTest::newRow("0") << jetDate(0) << QVariant();
    QTest::newRow("1.0, the last day of 1899") << jetDate(1.0) << QVariant();
    QTest::newRow("a time on 30 December 1899") << jetDate(0.75) << QVariant();
    QTest::newRow("before 1899") << jetDate(-400.5) << QVariant();
    QTest::newRow("1 January 1900 at noon") << jetDate(2.5) << QVariant(moment(1900, 1, 1, 12));
    QTest::newRow("a millisecond before midnight") << jetDate(2.0 + 86399999.0 / 86400000.0)
                                                   << QVariant(QDateTime(QDate(1900, 1, 1), QTime(23, 59, 59, 999), QTimeZone::utc()));
}

void TestJetFile::emptyDates()
{
    QFETCH(QByteArray, stored);
    QFETCH(QVariant, read);
    QTemporaryDir dir;
    // The date of the row "a" of the sample, 12 December 1981.
    const QString path = patched(dir, "testV2003.mdb", QByteArray::fromHex("00000000003bdd40"), stored);
    QVERIFY(!path.isEmpty());
    const JetFile file(path);
    const QVariantList row = rowWhere(file, QStringLiteral("Table1"), {QStringLiteral("A"), QStringLiteral("G")}, QStringLiteral("a"));
    QCOMPARE(row.value(1), read);
}

void TestJetFile::jet3TextInTheFilesCodePage_data()
{
    QTest::addColumn<char>("flip");
    QTest::addColumn<QString>("text");
    // The sample names code page 1252; 1250 differs from it in the last bits of one byte.
    QTest::newRow("Windows-1252") << char(0) << QStringLiteral("èšžabcd");
    QTest::newRow("Windows-1250, as Slovenian files") << char(0x06) << QStringLiteral("čšžabcd");
}

void TestJetFile::jet3TextInTheFilesCodePage()
{
    QFETCH(char, flip);
    QFETCH(QString, text);
    QTemporaryDir dir;
    // The header is enciphered with a stream: a bit flipped there is the same bit flipped in the code page.
    const QString path = patched(dir, "testV1997.mdb", QByteArrayLiteral("abcdefg"), QByteArray::fromHex("e89a9e61626364"), 0x3c, flip);
    QVERIFY(!path.isEmpty());
    const JetFile file(path);
    QCOMPARE(rowWhere(file, QStringLiteral("Table1"), {QStringLiteral("B"), QStringLiteral("A")}, QStringLiteral("hijklmnop")).value(1),
             QVariant(text));
}

void TestJetFile::refusesWhatItCannotRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("message");
    QTest::newRow("not an Access file") << QByteArray("SQLite format 3\0", 16) + QByteArray(4096, '\0') << QStringLiteral("ni baza programa");
    QTest::newRow("only the header") << QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(100, '\0') << QStringLiteral("ni mogoče prebrati");
    QTest::newRow("empty") << QByteArray() << QStringLiteral("ni baza programa");
}

void TestJetFile::refusesWhatItCannotRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("Veldra_be.mdb")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    try {
        JetFile jet(file.fileName());
        QFAIL("the file was read");
    } catch (const DatabaseError &error) {
        QVERIFY2(error.message().contains(message), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestJetFile)
#include "tst_JetFile.moc"
