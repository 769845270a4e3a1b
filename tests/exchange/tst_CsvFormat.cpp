#include "CsvFormat.h"
#include "TextCodec.h"

#include <QFile>
#include <QStringEncoder>
#include <QTest>

// A row as compared here: its line, then its fields.
using Rows = QList<QStringList>;

namespace {

QByteArray sample(const char *name)
{
    QFile file(QStringLiteral(SAMPLES) + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("sample %s missing", name);
    return file.readAll();
}

Rows rowsOf(const CsvTable &table)
{
    Rows rows;
    for (const CsvRow &row : table.Rows)
        rows.append(QStringList{QString::number(row.Line)} + row.Fields);
    return rows;
}

QStringList fieldNames(const QList<CardField> &fields)
{
    QStringList names;
    for (CardField field : fields)
        names.append(CardFieldName(field));
    return names;
}

QStringList valuesOf(const QList<CardValue> &values)
{
    QStringList texts;
    for (const CardValue &value : values)
        texts.append(value.Value + u'|' + value.Types.join(u',') + u'|' + value.Label);
    return texts;
}

QStringList addressesOf(const ContactCard &card)
{
    QStringList texts;
    for (const CardAddress &a : card.Addresses)
        texts.append(QStringList{a.Types.join(u','), a.Street, a.PostalCode, a.Locality, a.Region, a.Country}.join(u'|'));
    return texts;
}

QStringList extraOf(const ContactCard &card)
{
    QStringList texts;
    for (const CardProperty &property : card.Extra)
        texts.append(property.Name + u'=' + property.Value);
    return texts;
}

QString dateOf(const CardDate &date)
{
    return QStringLiteral("%1-%2-%3").arg(date.Year).arg(date.Month).arg(date.Day);
}

QList<int> problemLines(const ReadCards &read)
{
    QList<int> lines;
    for (const CardProblem &problem : read.Problems)
        lines.append(problem.Line);
    return lines;
}

}

class TestCsvFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsTable_data();
    void readsTable();
    void reportsBrokenRows();
    void refusesWhatItCannotDecode();
    void recognizesHeaders_data();
    void recognizesHeaders();
    void ownHeadersReadBack();
    void parsesDates_data();
    void parsesDates();
    void combinesSplitBirthday_data();
    void combinesSplitBirthday();
    void readsThunderbird();
    void readsOutlook();
    void readsGoogle();
    void readsSlovenianSpreadsheet();
    void mapsColumnsWithoutHeader();
    void writesWhatItReads();
    void writesSpreadsheetFriendlyBytes();
};

void TestCsvFormat::readsTable_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<Rows>("rows");

    QTest::newRow("LF, last line without end")
        << QByteArray("a,b\n1,2") << "," << Rows{{"1", "a", "b"}, {"2", "1", "2"}};
    QTest::newRow("CRLF, empty fields kept")
        << QByteArray("a,b,c\r\n,,\r\n") << "," << Rows{{"1", "a", "b", "c"}, {"2", "", "", ""}};
    QTest::newRow("CR alone ends lines")
        << QByteArray("a,b\r1,2\r") << "," << Rows{{"1", "a", "b"}, {"2", "1", "2"}};
    QTest::newRow("quotes: delimiter, doubled quote, empty quoted")
        << QByteArray("\"x,y\",\"say \"\"hi\"\"\",\"\"\n") << ","
        << Rows{{"1", "x,y", "say \"hi\"", ""}};
    QTest::newRow("line breaks in quotes move the next row's line")
        << QByteArray("n,note\r\n1,\"one\r\ntwo\nthree\"\r\n2,x\r\n") << ","
        << Rows{{"1", "n", "note"}, {"2", "1", "one\ntwo\nthree"}, {"5", "2", "x"}};
    QTest::newRow("stray quotes kept as written")
        << QByteArray("5\" disk,\"a\"b\n") << "," << Rows{{"1", "5\" disk", "ab"}};
    QTest::newRow("blank lines skipped, still counted")
        << QByteArray("a\n\n\nb\n") << "," << Rows{{"1", "a"}, {"4", "b"}};
    QTest::newRow("even semicolons beat more, uneven commas")
        << QByteArray("ime;opomba\nAna;ena, dve, tri, štiri\nBor;pet, šest\n") << ";"
        << Rows{{"1", "ime", "opomba"}, {"2", "Ana", "ena, dve, tri, štiri"}, {"3", "Bor", "pet, šest"}};
    QTest::newRow("a semicolon inside quotes does not count")
        << QByteArray("a,\"b;c;d\"\n1,2\n") << "," << Rows{{"1", "a", "b;c;d"}, {"2", "1", "2"}};
    QTest::newRow("tab") << QByteArray("a\tb, c\n1\t2\n") << "\t" << Rows{{"1", "a", "b, c"}, {"2", "1", "2"}};
    QTest::newRow("Excel's sep= line")
        << QByteArray("sep=;\r\na,b;c\r\n") << ";" << Rows{{"2", "a,b", "c"}};

    const QString slovenian = QStringLiteral("Ime,Kraj\nŽiga,Šoštanj\n");
    const Rows slovenianRows{{"1", "Ime", "Kraj"}, {"2", "Žiga", "Šoštanj"}};
    QTest::newRow("UTF-8") << slovenian.toUtf8() << "," << slovenianRows;
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + slovenian.toUtf8() << "," << slovenianRows;
    // As the program's own export writes a field that came with NUL characters.
    QTest::newRow("UTF-8 with BOM and many NULs")
        << "\xEF\xBB\xBF" + slovenian.toUtf8() + "x," + QByteArray(40, '\0') + "\n" << ","
        << slovenianRows + Rows{{"3", "x", QString(40, QChar(0))}};
    const auto utf16 = [&](QStringEncoder::Encoding encoding, QStringEncoder::Flags flags) {
        return QByteArray(QStringEncoder(encoding, flags).encode(slovenian));
    };
    const auto bom = QStringEncoder::Flag::WriteBom;
    QTest::newRow("UTF-16 LE with BOM") << utf16(QStringEncoder::Utf16LE, bom) << "," << slovenianRows;
    QTest::newRow("UTF-16 BE with BOM") << utf16(QStringEncoder::Utf16BE, bom) << "," << slovenianRows;
    QTest::newRow("UTF-16 LE without BOM") << utf16(QStringEncoder::Utf16LE, {}) << "," << slovenianRows;
    QTest::newRow("Windows-1250") << TextCodec::encode(slovenian, TextCodec::Encoding::Windows1250) << ","
                                  << slovenianRows;
}

void TestCsvFormat::readsTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, delimiter);
    QFETCH(Rows, rows);
    const CsvTable table = ReadCsvTable(bytes);
    QCOMPARE(rowsOf(table), rows);
    QCOMPARE(QString(table.Delimiter), delimiter);
    QVERIFY(table.Problems.isEmpty());
}

void TestCsvFormat::reportsBrokenRows()
{
    const ReadCards read = ReadCsv(sample("malformed-rows.csv"));
    // Line 4 has a field too many, line 6 opens a quote that never closes.
    QCOMPARE(problemLines(read), (QList<int>{4, 6}));
    QVERIFY(read.Problems[0].Reason.contains(u"več polj"));
    QVERIFY(read.Problems[1].Reason.contains(u"Narekovaj"));

    QStringList kept;
    for (const ContactCard &card : read.Cards)
        kept.append(QString::number(card.Line) + u' ' + card.Name.Given);
    QCOMPARE(kept, (QStringList{"2 Ana", "5 Cvetka", "7 Eva"}));
    QCOMPARE(read.Cards[0].Notes, QStringList{"Prva vrstica\ndruga vrstica"});
}

void TestCsvFormat::refusesWhatItCannotDecode()
{
    const QByteArray previous = TextCodec::setLegacyCodePage("no-such-code-page");
    const CsvTable table = ReadCsvTable(QByteArray("Ime\n\x8E" "iga\n"));
    TextCodec::setLegacyCodePage(previous);
    QVERIFY(table.Rows.isEmpty());
    QCOMPARE(table.Problems.size(), 1);
    QVERIFY(table.Problems.first().Reason.contains(u"Windows-1250"));
}

void TestCsvFormat::recognizesHeaders_data()
{
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("Thunderbird")
        << QStringList{"First Name", "Last Name", "Display Name", "Nickname", "Primary Email", "Mobile Number",
                       "Fax Number", "Home Address 2", "Work ZipCode", "Organization", "Birth Year",
                       "Birth Month", "Birth Day", "Custom 1", ""}
        << QStringList{"Ime", "Priimek", "Celotno ime", "Vzdevek", "E-pošta", "Mobilni telefon", "Fax", "Ulica",
                       "Poštna številka (služba)", "Podjetje", "Leto rojstva", "Mesec rojstva",
                       "Dan rojstva", "Dodatni podatek", "(ne uvozi)"};
    QTest::newRow("Outlook")
        << QStringList{"Title", "Middle Name", "Suffix", "Company", "Job Title", "Business Street 2",
                       "Business Country/Region", "Home Postal Code", "Business Phone", "Business Fax",
                       "E-mail 2 Address", "E-mail Display Name", "Priority", "Birthday", "Categories",
                       "Car Phone", "Business Address PO Box"}
        << QStringList{"Naziv", "Srednje ime", "Pripona imena", "Podjetje", "Funkcija", "Ulica (služba)",
                       "Država (služba)", "Poštna številka", "Telefon (služba)", "Fax", "E-pošta",
                       "(ne uvozi)", "(ne uvozi)", "Datum rojstva", "Kategorije", "Dodatni podatek",
                       "Poštni predal (služba)"};
    QTest::newRow("Google, older")
        << QStringList{"Name", "Given Name", "Additional Name", "Family Name", "Name Prefix",
                       "Group Membership", "E-mail 1 - Type", "E-mail 1 - Value", "Phone 2 - Type",
                       "Phone 2 - Value", "Address 1 - Formatted", "Address 1 - Street", "Address 1 - PO Box",
                       "Organization 1 - Type", "Organization 1 - Name", "Organization 1 - Title",
                       "Website 1 - Value", "IM 1 - Service"}
        << QStringList{"Celotno ime", "Ime", "Srednje ime", "Priimek", "Naziv", "Kategorije", "Vrsta podatka",
                       "E-pošta", "Vrsta podatka", "Telefonska številka", "(ne uvozi)", "Ulica",
                       "Poštni predal", "(ne uvozi)", "Podjetje", "Funkcija", "Spletna stran",
                       "Dodatni podatek"};
    QTest::newRow("Google, newer")
        << QStringList{"First Name", "Name Suffix", "File As", "Organization Name", "Organization Department",
                       "Labels", "Photo", "E-mail 1 - Label", "Address 1 - Postal Code", "Address 1 - Country",
                       "Custom Field 1 - Label", "Custom Field 1 - Value"}
        << QStringList{"Ime", "Pripona imena", "Celotno ime", "Podjetje", "Oddelek", "Kategorije", "(ne uvozi)",
                       "Vrsta podatka", "Poštna številka", "Država", "Vrsta podatka", "Dodatni podatek"};
    QTest::newRow("case, blanks, our own and plain Slovenian")
        << QStringList{"  first   NAME ", "PRIIMEK", "Kraj (služba)", "GSM", "Pošta", "Rojstni dan", "Kdo ve"}
        << QStringList{"Ime", "Priimek", "Kraj (služba)", "Mobilni telefon", "Kraj", "Datum rojstva",
                       "Dodatni podatek"};
}

void TestCsvFormat::recognizesHeaders()
{
    QFETCH(QStringList, headers);
    QFETCH(QStringList, fields);
    QCOMPARE(fieldNames(RecognizeHeaders(headers)), fields);
}

void TestCsvFormat::ownHeadersReadBack()
{
    // The mapping window shows these names and our export writes them: each must be
    // its own and lead back to its field.
    const QList<CardField> fields = AllCardFields();
    QStringList names = fieldNames(fields);
    QCOMPARE(RecognizeHeaders(names), fields);
    names.removeDuplicates();
    QCOMPARE(names.size(), fields.size());
}

void TestCsvFormat::parsesDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("date"); // year-month-day, 0 for missing

    QTest::newRow("Slovenian") << "6.5.1980" << "1980-5-6";
    QTest::newRow("Slovenian, padded, blanks, final dot") << "06. 05. 1980." << "1980-5-6";
    QTest::newRow("Slovenian without a year") << "24. 12." << "0-12-24";
    QTest::newRow("Slovenian two-digit year is in the past") << "6.5.80" << "1980-5-6";
    QTest::newRow("ISO") << "1980-05-06" << "1980-5-6";
    QTest::newRow("ISO with a time") << "1980-05-06 00:00:00" << "1980-5-6";
    QTest::newRow("basic") << "19800506" << "1980-5-6";
    QTest::newRow("without a year") << "--05-06" << "0-5-6";
    QTest::newRow("29 February without a year") << "--02-29" << "0-2-29";
    QTest::newRow("Outlook, month first") << "5/6/1980" << "1980-5-6";
    QTest::newRow("Outlook's no date") << "0/0/00" << "0-0-0";
    QTest::newRow("no such day") << "31.2.1980" << "0-0-0";
    QTest::newRow("no such month") << "1980-13-01" << "0-0-0";
    QTest::newRow("words") << "spomladi" << "0-0-0";
}

void TestCsvFormat::parsesDates()
{
    QFETCH(QString, text);
    QFETCH(QString, date);
    QCOMPARE(dateOf(ParseSpreadsheetDate(text)), date);
}

void TestCsvFormat::combinesSplitBirthday_data()
{
    QTest::addColumn<QByteArray>("row"); // year, month, day
    QTest::addColumn<QString>("date");
    QTest::addColumn<QStringList>("extra");
    QTest::newRow("whole") << QByteArray("1980,5,6") << "1980-5-6" << QStringList{};
    QTest::newRow("without a year") << QByteArray(",05,06") << "0-5-6" << QStringList{};
    QTest::newRow("no such month: kept") << QByteArray("1980,13,6") << "0-0-0"
                                         << QStringList{"Birth Year=1980", "Birth Month=13", "Birth Day=6"};
    QTest::newRow("a year alone: kept") << QByteArray("1980,,") << "0-0-0" << QStringList{"Birth Year=1980"};
}

void TestCsvFormat::combinesSplitBirthday()
{
    QFETCH(QByteArray, row);
    QFETCH(QString, date);
    QFETCH(QStringList, extra);
    const ReadCards read = ReadCsv("Birth Year,Birth Month,Birth Day\n" + row + "\n");
    QCOMPARE(read.Cards.size(), 1);
    QCOMPARE(dateOf(read.Cards[0].Birthday), date);
    QCOMPARE(extraOf(read.Cards[0]), extra);
}

void TestCsvFormat::readsThunderbird()
{
    const ReadCards read = ReadCsv(sample("thunderbird.csv"));
    QVERIFY(read.Problems.isEmpty());
    QCOMPARE(read.Cards.size(), 2);

    const ContactCard &ana = read.Cards[0];
    QCOMPARE(ana.Line, 2);
    QCOMPARE(ana.Name.Family, "Kovačič");
    QCOMPARE(ana.FormattedName, "Ana Kovačič");
    QCOMPARE(valuesOf(ana.Emails), (QStringList{"ana.kovacic@example.si||", "ana@example.com||"}));
    QCOMPARE(valuesOf(ana.Telephones), (QStringList{"01 234 56 78|work|", "041 123 456|cell|"}));
    QCOMPARE(addressesOf(ana), (QStringList{"home|Prešernova ulica 5|1000|Ljubljana||Slovenija",
                                            "work|Tržaška cesta 12, 3. nadstropje|1000|Ljubljana||"}));
    QCOMPARE(ana.Organisation, "Žito d.o.o.");
    QCOMPARE(ana.Department, "Finance");
    QCOMPARE(ana.Title, "računovodkinja");
    QCOMPARE(dateOf(ana.Birthday), "1980-5-6");
    QCOMPARE(ana.Notes, QStringList{"Rada ima čaj.\nKliči po 17. uri."});
    QCOMPARE(extraOf(ana), (QStringList{"NICKNAME=Anči", "Custom 1=šahistka"}));

    const ContactCard &bojan = read.Cards[1];
    QCOMPARE(bojan.Line, 4);
    QCOMPARE(dateOf(bojan.Birthday), "0-12-24");
    QCOMPARE(addressesOf(bojan), QStringList{"home|Ulica heroja Šlandra 4, stanovanje 7|2000|Maribor||"});
    QCOMPARE(valuesOf(bojan.Telephones), (QStringList{"02 620 11 22|home|", "02 620 11 23|fax|"}));
}

void TestCsvFormat::readsOutlook()
{
    const ReadCards read = ReadCsv(sample("outlook.csv"));
    QVERIFY(read.Problems.isEmpty());
    QCOMPARE(read.Cards.size(), 2);

    const ContactCard &mojca = read.Cards[0];
    QCOMPARE(mojca.Name.Prefix, "dr.");
    QCOMPARE(mojca.Name.Additional, "Marija");
    QCOMPARE(mojca.Name.Family, "Žagar");
    QVERIFY(!mojca.IsOrganisation);
    QCOMPARE(addressesOf(mojca), QStringList{"work|Cankarjeva 3\nvhod B|3000|Celje||Slovenija"});
    QCOMPARE(valuesOf(mojca.Telephones), (QStringList{"03 428 10 00|work|", "051 321 654|cell|"}));
    QCOMPARE(valuesOf(mojca.Emails), QStringList{"mojca@example.si||"});
    QCOMPARE(dateOf(mojca.Birthday), "1980-5-6");
    QCOMPARE(mojca.Categories, (QStringList{"Prijatelji", "Služba"}));
    QCOMPARE(mojca.Notes, QStringList{"Med iz \"domačega\" čebelnjaka."});
    // Outlook's "0/0/00" anniversary, default priority and display name are not data.
    QCOMPARE(extraOf(mojca), (QStringList{"Car Phone=051 999 888", "Initials=M.M.Ž."}));

    const ContactCard &bakery = read.Cards[1];
    QVERIFY(bakery.IsOrganisation);
    QCOMPARE(bakery.Organisation, "Pekarna Čuk d.o.o.");
    QVERIFY(bakery.Birthday.isEmpty());
    QVERIFY(bakery.Extra.isEmpty());
}

void TestCsvFormat::readsGoogle()
{
    const ReadCards read = ReadCsv(sample("google.csv"));
    QVERIFY(read.Problems.isEmpty());
    QCOMPARE(read.Cards.size(), 2);

    const ContactCard &tina = read.Cards[0];
    QCOMPARE(valuesOf(tina.Emails), (QStringList{"tina@example.si|home,pref|", "tina.hribar@example.com|home,pref|",
                                                 "tina.hribar@example.org|work|"}));
    QCOMPARE(valuesOf(tina.Telephones), (QStringList{"+386 41 111 222|cell|", "05 663 00 11||Vikend"}));
    QCOMPARE(addressesOf(tina), (QStringList{"home|Vojkova 7|6000|Koper||Slovenija", "work|Ljubljanska 2||Koper||"}));
    QCOMPARE(valuesOf(tina.Urls), QStringList{"https://example.org/tina||Profile"});
    QCOMPARE(tina.Categories, (QStringList{"Prijatelji", "Planinci, Kamnik"}));
    QCOMPARE(dateOf(tina.Birthday), "0-5-6");
    QCOMPARE(extraOf(tina), (QStringList{"NICKNAME=Tinka", "Velikost majice=M"}));

    const ContactCard &luka = read.Cards[1];
    QCOMPARE(luka.FormattedName, "Čeh, Luka");
    QCOMPARE(luka.Organisation, "Osnovna šola Ščavnica");
    QCOMPARE(luka.Title, "učitelj");
    QVERIFY(luka.Categories.isEmpty());
    QCOMPARE(valuesOf(luka.Telephones), QStringList{"02 530 00 00|work|"});
    QVERIFY(luka.Addresses.isEmpty());
}

void TestCsvFormat::readsSlovenianSpreadsheet()
{
    const CsvTable table = ReadCsvTable(sample("excel-sl-semicolon.csv"));
    QCOMPARE(table.Encoding, CsvEncoding::Windows1250);
    const ReadCards read = ReadCsv(sample("excel-sl-semicolon.csv"));
    QVERIFY(read.Problems.isEmpty());
    // The blank line and the row of delimiters alone give no card.
    QCOMPARE(read.Cards.size(), 3);

    const ContactCard &joze = read.Cards[0];
    QCOMPARE(joze.Name.Family, "Čebašek");
    QCOMPARE(addressesOf(joze), QStringList{"home|Trubarjeva 8|1000|Ljubljana||"});
    QCOMPARE(valuesOf(joze.Telephones), (QStringList{"01 555 44 33||", "031 222 333|cell|"}));
    QCOMPARE(dateOf(joze.Birthday), "1980-5-6");
    QCOMPARE(joze.Notes, QStringList{"Sosed, rad pomaga"});

    QCOMPARE(read.Cards[1].Line, 4);
    QCOMPARE(addressesOf(read.Cards[1]), QStringList{"home|Glavni trg 1|8000|Novo mesto||"});
    QCOMPARE(dateOf(read.Cards[1].Birthday), "0-12-24");
    // A birthday it cannot read is kept as written.
    QCOMPARE(read.Cards[2].Line, 6);
    QCOMPARE(extraOf(read.Cards[2]), QStringList{"Rojstni dan=spomladi"});
}

void TestCsvFormat::mapsColumnsWithoutHeader()
{
    // Empty fields past the first row's width are no fault: spreadsheets leave them.
    const CsvTable table = ReadCsvTable(QByteArray("Ana,Novak,stara\n,,\nBor,Kos,nova,preveč\nCene,,,,\n"));
    const QList<CardField> mapping{CardField::GivenName, CardField::FamilyName, CardField::Extra};
    const ReadCards read = CardsFromTable(table, mapping, false);
    QCOMPARE(read.Cards.size(), 2);
    QCOMPARE(read.Cards[0].Line, 1);
    QCOMPARE(extraOf(read.Cards[0]), QStringList{"Stolpec 3=stara"});
    QCOMPARE(read.Cards[1].Name.Given, "Cene");
    QCOMPARE(problemLines(read), QList<int>{3});
    // Columns the user leaves out are not read, and a row with nothing else is no card.
    const ReadCards surnames = CardsFromTable(table, {CardField::None, CardField::FamilyName}, false);
    QCOMPARE(surnames.Cards.size(), 1);
    QCOMPARE(surnames.Cards[0].Name.Family, "Novak");
}

void TestCsvFormat::writesWhatItReads()
{
    ContactCard card;
    card.Name = CardName{"Žagar", "Mojca", "Marija", "dr.", "ml."};
    card.FormattedName = QStringLiteral("dr. Mojca Marija Žagar");
    card.Organisation = QStringLiteral("Čebelarstvo, Žagar s.p.");
    card.Department = QStringLiteral("Prodaja");
    card.Title = QStringLiteral("direktorica");
    card.Emails = {{"mojca@example.si", {"home"}, {}}, {"m@example.si", {"home"}, {}}, {"z@example.si", {"work"}, {}}};
    card.Telephones = {{"041 111 222", {"cell"}, {}}, {"01 222 33 44", {"fax", "work"}, {}},
                       {"05 663 00 11", {}, "Vikend"}};
    CardAddress home;
    home.Street = QStringLiteral("Vojkova 7");
    home.Locality = QStringLiteral("Koper");
    home.PostalCode = QStringLiteral("6000");
    home.Country = QStringLiteral("Slovenija");
    home.Types = {"home"};
    CardAddress work;
    work.Street = QStringLiteral("Cankarjeva 3\nvhod \"B\"");
    work.Locality = QStringLiteral("Celje");
    work.PostOfficeBox = QStringLiteral("P. P. 12");
    work.Types = {"work"};
    card.Addresses = {home, work};
    card.Urls = {{"https://zagar.example.si/", {}, {}}};
    card.Birthday = CardDate{0, 5, 6};
    card.Notes = {"Prva,\nin druga vrstica"};
    card.Categories = {"Prijatelji", "Čebelarji"};
    card.Extra = {{"NICKNAME", "Čebelica"}, {"Velikost majice", "M"}};
    ContactCard company;
    company.Organisation = QStringLiteral("Pekarna Čuk d.o.o.");
    ContactCard addressOnly;
    addressOnly.Emails = {{"nekdo@example.si", {}, {}}};

    const ReadCards read = ReadCsv(WriteCsv({card, company, addressOnly}));
    QVERIFY(read.Problems.isEmpty());
    QCOMPARE(read.Cards.size(), 3);
    const ContactCard &back = read.Cards[0];
    QCOMPARE(back.Name.Given, card.Name.Given);
    QCOMPARE(back.Name.Family, card.Name.Family);
    QCOMPARE(back.Name.Additional, card.Name.Additional);
    QCOMPARE(back.Name.Prefix, card.Name.Prefix);
    QCOMPARE(back.Name.Suffix, card.Name.Suffix);
    QCOMPARE(back.FormattedName, card.FormattedName);
    QCOMPARE(back.Organisation, card.Organisation);
    QCOMPARE(back.Department, card.Department);
    QCOMPARE(back.Title, card.Title);
    QCOMPARE(valuesOf(back.Emails), valuesOf(card.Emails));
    QCOMPARE(valuesOf(back.Telephones), valuesOf(card.Telephones));
    QCOMPARE(addressesOf(back), addressesOf(card));
    QCOMPARE(back.Addresses[1].PostOfficeBox, work.PostOfficeBox);
    QCOMPARE(valuesOf(back.Urls), valuesOf(card.Urls));
    QCOMPARE(dateOf(back.Birthday), dateOf(card.Birthday));
    QCOMPARE(back.Notes, card.Notes);
    QCOMPARE(back.Categories, card.Categories);
    QCOMPARE(extraOf(back), extraOf(card));
    QVERIFY(read.Cards[1].IsOrganisation);
    QCOMPARE(read.Cards[1].Organisation, company.Organisation);
    QVERIFY(!read.Cards[2].IsOrganisation);
}

void TestCsvFormat::writesSpreadsheetFriendlyBytes()
{
    ContactCard card;
    card.Name.Given = QStringLiteral("Žiga");
    card.Name.Family = QStringLiteral(" Kos");
    card.Birthday = CardDate{1980, 5, 6};
    card.Emails = {{"ziga@example.si", {}, {}}};
    const QByteArray bytes = WriteCsv({card});
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "First Name,Middle Name,Last Name,"));
    QVERIFY(bytes.contains("E-mail 1 - Label,E-mail 1 - Value\r\n"));
    QVERIFY(bytes.contains(QStringLiteral("\r\nŽiga,,\" Kos\",").toUtf8()));
    QVERIFY(bytes.contains(",1980-05-06,"));
    QVERIFY(bytes.endsWith(",Other,ziga@example.si\r\n"));
}

QTEST_GUILESS_MAIN(TestCsvFormat)
#include "tst_CsvFormat.moc"
