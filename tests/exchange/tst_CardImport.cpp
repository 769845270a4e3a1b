#include "CardExport.h"
#include "CardImport.h"
#include "Database.h"
#include "TestDatabase.h"
#include "VCardFormat.h"

#include <QTest>

#include <algorithm>

namespace {

// A card as a phone would give it, with every part the import maps.
ContactCard richCard()
{
    ContactCard card;
    card.Line = 7;
    card.Name = {QStringLiteral("Žnidaršič"), QStringLiteral("Ana"), QStringLiteral("Marija"), QStringLiteral("mag."), QString()};
    card.Organisation = QStringLiteral("Čebelarstvo Šuštar d.o.o.");
    card.Department = QStringLiteral("Prodaja");
    card.Title = QStringLiteral("vodja prodaje");
    card.Addresses = {{QString(), QString(), QStringLiteral("Trubarjeva 5"), QStringLiteral("Ljubljana"), QStringLiteral("Osrednjeslovenska"),
                       QStringLiteral("1000"), QStringLiteral("SI"), {QStringLiteral("home")}, QString()},
                      {QString(), QString(), QStringLiteral("Glavni trg 1"), QStringLiteral("Bled"), QString(), QStringLiteral("4260"),
                       QStringLiteral("Slovenia"), {QStringLiteral("work")}, QString()}};
    card.Telephones = {{QStringLiteral("+386 41 123 456"), {QStringLiteral("cell")}, QString()},
                       {QStringLiteral("01 234 56 78"), {QStringLiteral("work"), QStringLiteral("voice")}, QString()},
                       {QStringLiteral("01 234 56 79"), {QStringLiteral("work"), QStringLiteral("fax")}, QString()},
                       {QStringLiteral("04 574 11 11"), {QStringLiteral("home")}, QString()}};
    card.Emails = {{QStringLiteral("ana@example.si"), {QStringLiteral("internet")}, QString()}};
    card.Urls = {{QStringLiteral("https://cebelarstvo.example.si/"), {}, QString()}};
    card.Impps = {{QStringLiteral("xmpp:ana@example.si"), {}, QString()}};
    card.Birthday = {1980, 5, 6};
    card.Notes = {QStringLiteral("Kupuje med, vosek; tudi propolis.")};
    card.Categories = {QStringLiteral("Prijatelji"), QStringLiteral("Čebelarji"), QStringLiteral("prijatelji")};
    card.Extra = {{QStringLiteral("NICKNAME"), QStringLiteral("Anči")}, {QStringLiteral("X-ANDROID-CUSTOM"), QStringLiteral("vnd.android;x")}};
    card.SkippedProperties = 1;
    return card;
}

ContactCard namedCard(const QString &given, const QString &family, const QString &email)
{
    ContactCard card;
    card.Name.Given = given;
    card.Name.Family = family;
    if (!email.isEmpty())
        card.Emails = {{email, {}, QString()}};
    return card;
}

QString storedText(const Database &database, const QString &sql)
{
    return stored(database, sql).toString();
}

// A card as plain text with its lists sorted, to compare what two exports hold.
QString describe(const ContactCard &card)
{
    QStringList parts{card.Name.Family, card.Name.Given, card.Name.Additional, card.Name.Prefix, card.FormattedName,
                      card.IsOrganisation ? QStringLiteral("org") : QString(), card.Organisation, card.Title,
                      QStringLiteral("%1-%2-%3").arg(card.Birthday.Year).arg(card.Birthday.Month).arg(card.Birthday.Day)};
    const auto sorted = [](QStringList list) {
        list.sort();
        return list.join(QLatin1Char('|'));
    };
    QStringList values;
    for (const QList<CardValue> *list : {&card.Telephones, &card.Emails, &card.Urls, &card.Impps})
        for (const CardValue &value : *list)
            values << value.Value + QLatin1Char('/') + value.Types.join(QLatin1Char(','));
    QStringList addresses;
    for (const CardAddress &address : card.Addresses)
        addresses << QStringList{address.Street, address.Locality, address.PostalCode, address.Region, address.Country}.join(QLatin1Char(','));
    QStringList extra;
    for (const CardProperty &property : card.Extra)
        extra << property.Name + QLatin1Char('=') + property.Value;
    parts << sorted(values) << sorted(addresses) << sorted(card.Notes) << sorted(card.Categories) << sorted(extra);
    return parts.join(QStringLiteral(" ; "));
}

QStringList describeAll(const QList<ContactCard> &cards)
{
    QStringList all;
    for (const ContactCard &card : cards)
        all << describe(card);
    all.sort();
    return all;
}

}

class TestCardImport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void mapping_data() { addDialectRows(QStringLiteral("mapping")); }
    void mapping();
    void textsAreCutToTheirColumn_data() { addDialectRows(QStringLiteral("cut")); }
    void textsAreCutToTheirColumn();
    void duplicates_data();
    void duplicates();
    void cancelKeepsNothing_data() { addDialectRows(QStringLiteral("cancel")); }
    void cancelKeepsNothing();
    void exportCanBeCancelled();
    void roundTrip_data() { addDialectRows(QStringLiteral("round trip")); }
    void roundTrip();
};

void TestCardImport::mapping()
{
    VELDRA_FETCH_TEST_DATABASE(db);
    const auto database = db.connect();
    const ImportSummary summary = CardImport(*database).run({richCard()}, DuplicatePolicy::Skip);
    QCOMPARE(summary.Persons, 2); // the person and her employer
    QCOMPARE(summary.SkippedProperties, 1);
    QVERIFY(summary.Notices.isEmpty());

    const QString person = QStringLiteral(" FROM TOsnovniPod WHERE Priimek = 'Žnidaršič'");
    const QString contacts = QStringLiteral(" FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID "
                                            "WHERE Value = '%1'");
    // What the card became, as the database holds it.
    const QList<std::pair<QString, QString>> expected = {
        {QStringLiteral("SELECT CelotnoIme") + person, QStringLiteral("mag. Ana Marija Žnidaršič")},
        {QStringLiteral("SELECT Naziv") + person, QStringLiteral("mag.")},
        {QStringLiteral("SELECT SrednjeIme") + person, QStringLiteral("Marija")},
        {QStringLiteral("SELECT Podjetje") + person, QStringLiteral("False")},
        {QStringLiteral("SELECT FunckijaVPodjetju") + person, QStringLiteral("vodja prodaje")},
        {QStringLiteral("SELECT TOsnovniPod_1.CelotnoIme FROM TOsnovniPod INNER JOIN TOsnovniPod AS TOsnovniPod_1 ON "
                        "TOsnovniPod.IDPodjetja = TOsnovniPod_1.ID WHERE TOsnovniPod.Priimek = 'Žnidaršič'"),
         QStringLiteral("Čebelarstvo Šuštar d.o.o.")},
        {QStringLiteral("SELECT Podjetje FROM TOsnovniPod WHERE CelotnoIme = 'Čebelarstvo Šuštar d.o.o.'"), QStringLiteral("True")},
        {QStringLiteral("SELECT Naslov") + person, QStringLiteral("Trubarjeva 5")},
        {QStringLiteral("SELECT TKraj.Naziv FROM TOsnovniPod INNER JOIN TKraj ON TOsnovniPod.IDKRAJ = TKraj.IDKRAJ WHERE Priimek = 'Žnidaršič'"),
         QStringLiteral("Ljubljana")},
        {QStringLiteral("SELECT TPokrajina.Naziv FROM TOsnovniPod INNER JOIN TPokrajina ON TOsnovniPod.IDPOK = TPokrajina.IDPOK "
                        "WHERE Priimek = 'Žnidaršič'"),
         QStringLiteral("Osrednjeslovenska")},
        {QStringLiteral("SELECT TDrzave.Naziv FROM TOsnovniPod INNER JOIN TDrzave ON TOsnovniPod.IDDRZAVA = TDrzave.IDDRZAVE WHERE Priimek = 'Žnidaršič'"),
         QStringLiteral("Slovenija")},
        {QStringLiteral("SELECT COUNT(*) FROM TDrzave WHERE Naziv = 'Slovenija'"), QStringLiteral("1")},
        {QStringLiteral("SELECT TelVPodjetju") + person, QStringLiteral("01 234 56 78")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("+386 41 123 456")), QStringLiteral("Mobilni telefon")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("01 234 56 79")), QStringLiteral("Faks")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("04 574 11 11")), QStringLiteral("Telefon")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("ana@example.si")), QStringLiteral("Elektronska pošta")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("https://cebelarstvo.example.si/")), QStringLiteral("Spletna stran")},
        {QStringLiteral("SELECT TKontakti.Naziv") + contacts.arg(QStringLiteral("xmpp:ana@example.si")), QStringLiteral("xmpp")},
        {QStringLiteral("SELECT TKontakti.Vrsta") + contacts.arg(QStringLiteral("xmpp:ana@example.si")), QStringLiteral("2")},
        // The second address: a contact, its place added to the code list.
        {QStringLiteral("SELECT TKontakti.Vrsta") + contacts.arg(QStringLiteral("Glavni trg 1\n4260 Bled\nSlovenia")), QStringLiteral("6")},
        {QStringLiteral("SELECT COUNT(*) FROM TKraj WHERE Naziv = 'Bled'"), QStringLiteral("0")},
        {QStringLiteral("SELECT Value FROM TOsnovniPodVezaOpombe"), QStringLiteral("Kupuje med, vosek; tudi propolis.")},
        {QStringLiteral("SELECT COUNT(*) FROM TOsnovniPodVezaKategorje"), QStringLiteral("2")},
        {QStringLiteral("SELECT COUNT(*) FROM TKategorije WHERE Naziv = 'Čebelarji'"), QStringLiteral("1")},
        {QStringLiteral("SELECT COUNT(*) FROM TKategorije WHERE Naziv = 'Prijatelji'"), QStringLiteral("1")},
        {QStringLiteral("SELECT Value FROM TOsnovniPodDodatno WHERE Polje = 'Vzdevek'"), QStringLiteral("Anči")},
        {QStringLiteral("SELECT Value FROM TOsnovniPodDodatno WHERE Polje = 'Oddelek'"), QStringLiteral("Prodaja")},
        {QStringLiteral("SELECT Value FROM TOsnovniPodDodatno WHERE Polje = 'X-ANDROID-CUSTOM'"), QStringLiteral("vnd.android;x")},
    };
    for (const auto &[sql, value] : expected)
        QVERIFY2(storedText(*database, sql) == value, qPrintable(sql + QStringLiteral(" gives ") + storedText(*database, sql)));
    QCOMPARE(stored(*database, QStringLiteral("SELECT DatumRojstva") + person).toDateTime().date(), QDate(1980, 5, 6));
}

void TestCardImport::textsAreCutToTheirColumn()
{
    VELDRA_FETCH_TEST_DATABASE(db);
    const auto database = db.connect();
    ContactCard card = namedCard(QStringLiteral("Janez"), QStringLiteral("Novak"), QString());
    card.Line = 12;
    card.Name.Prefix = QString(60, QLatin1Char('x'));
    const ImportSummary summary = CardImport(*database).run({card}, DuplicatePolicy::Skip);
    QCOMPARE(summary.Persons, 1);
    QCOMPARE(summary.Notices.size(), 1);
    QCOMPARE(summary.Notices[0].Line, 12);
    QVERIFY2(summary.Notices[0].Reason.contains(QStringLiteral("Naziv")), qPrintable(summary.Notices[0].Reason));
    QCOMPARE(storedText(*database, QStringLiteral("SELECT Naziv FROM TOsnovniPod WHERE Priimek = 'Novak'")), QString(50, QLatin1Char('x')));
}

void TestCardImport::duplicates_data()
{
    addDialectColumn();
    QTest::addColumn<int>("policy");
    QTest::addColumn<int>("persons");  // Novak rows afterwards
    QTest::addColumn<QString>("title"); // the first Novak's title afterwards
    for (const SqlDialect dialect : allDialects()) {
        newDialectRow(QStringLiteral("skip"), dialect) << int(DuplicatePolicy::Skip) << 1 << QString();
        newDialectRow(QStringLiteral("update"), dialect) << int(DuplicatePolicy::Update) << 1 << QStringLiteral("dr.");
        newDialectRow(QStringLiteral("add"), dialect) << int(DuplicatePolicy::Add) << 2 << QString();
    }
}

// The same name and one e-mail address in common make a duplicate; the same name alone
// does not.
void TestCardImport::duplicates()
{
    VELDRA_FETCH_TEST_DATABASE(db);
    QFETCH(int, policy);
    QFETCH(int, persons);
    QFETCH(QString, title);
    const auto database = db.connect();
    ContactCard first = namedCard(QStringLiteral("Janez"), QStringLiteral("Novak"), QStringLiteral("janez@example.si"));
    first.Telephones = {{QStringLiteral("041 123 456"), {QStringLiteral("cell")}, QString()}};
    CardImport(*database).run({first}, DuplicatePolicy::Skip);

    ContactCard again = namedCard(QStringLiteral("Janez"), QStringLiteral("Novak"), QStringLiteral("JANEZ@example.si"));
    again.FormattedName = QStringLiteral("Janez Novak");
    again.Name.Prefix = QStringLiteral("dr.");
    again.Categories = {QStringLiteral("Stranke")};
    const ContactCard namesake = namedCard(QStringLiteral("Janez"), QStringLiteral("Novak"), QStringLiteral("drugi@example.si"));
    ContactCard byTelephone = namedCard(QStringLiteral("Janez"), QStringLiteral("Novak"), QString());
    byTelephone.Telephones = {{QStringLiteral("+386 (41) 123-456"), {}, QString()}};
    CardImport import(*database);
    QCOMPARE(import.countDuplicates({again, namesake, byTelephone}), 2);
    const ImportSummary summary = import.run({again}, DuplicatePolicy(policy));

    QCOMPARE(stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod WHERE Priimek = 'Novak'")).toInt(), persons);
    QCOMPARE(storedText(*database, QStringLiteral("SELECT Naziv FROM TOsnovniPod WHERE Priimek = 'Novak' ORDER BY ID")), title);
    QCOMPARE(summary.Skipped, DuplicatePolicy(policy) == DuplicatePolicy::Skip ? 1 : 0);
    QCOMPARE(summary.Updated, DuplicatePolicy(policy) == DuplicatePolicy::Update ? 1 : 0);
    // An update adds what the person lacks, once.
    QCOMPARE(stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPodVezaKontakt")).toInt(),
             DuplicatePolicy(policy) == DuplicatePolicy::Add ? 3 : 2);
    QCOMPARE(stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPodVezaKategorje")).toInt(),
             DuplicatePolicy(policy) == DuplicatePolicy::Skip ? 0 : 1);
}

void TestCardImport::cancelKeepsNothing()
{
    VELDRA_FETCH_TEST_DATABASE(db);
    const auto database = db.connect();
    QList<ContactCard> cards;
    for (int i = 0; i < 500; ++i)
        cards << namedCard(QStringLiteral("Oseba"), QString::number(i), QString());
    cards[300].Categories = {QStringLiteral("Nova kategorija")};
    const int before = stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod")).toInt();
    int calls = 0;
    const ImportSummary summary = CardImport(*database).run(cards, DuplicatePolicy::Skip, [&calls](int) { return ++calls < 3; });
    QVERIFY(summary.Cancelled);
    QCOMPARE(calls, 3);
    QCOMPARE(summary.Persons, 0);
    QCOMPARE(stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod")).toInt(), before);
    QCOMPARE(stored(*database, QStringLiteral("SELECT COUNT(*) FROM TKategorije WHERE Naziv = 'Nova kategorija'")).toInt(), 0);
}

void TestCardImport::exportCanBeCancelled()
{
    TestDatabase db(SqlDialect::Sqlite);
    const auto database = db.connect();
    CardImport(*database).run({richCard()}, DuplicatePolicy::Skip);
    QList<int> steps;
    QVERIFY(ExportCards(*database, {}, [&steps](int done) {
                steps << done;
                return true;
            }).has_value());
    QCOMPARE(steps, (QList<int>{0, 1, 2, 3, 4}));
    QVERIFY(!ExportCards(*database, {}, [](int done) { return done < 2; }).has_value());
}

// Cards into one database, out as a vCard file, into an empty one and out again: the
// same persons, contacts, notes, categories and extra data.
void TestCardImport::roundTrip()
{
    VELDRA_FETCH_TEST_DATABASE(db);
    TestDatabase second{db.location().dialect};
    const auto first = db.connect();
    ContactCard company;
    company.IsOrganisation = true;
    company.FormattedName = company.Organisation = QStringLiteral("Mizarstvo Kovač s.p.");
    company.Telephones = {{QStringLiteral("02 620 11 00"), {QStringLiteral("voice")}, QString()}};
    ContactCard yearless = namedCard(QStringLiteral("Špela"), QStringLiteral("Čuk"), QStringLiteral("spela@example.si"));
    yearless.Birthday = {0, 12, 24};
    yearless.Extra = {{QString::fromLatin1("X-VELDRA-DODATNO"), QStringLiteral("Številka izkaznice: 42")}};
    CardImport(*first).run({richCard(), company, yearless}, DuplicatePolicy::Skip);
    first->runNative(QStringLiteral("INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) SELECT ID, (SELECT ID FROM TKontakti "
                                    "WHERE Naziv = 'Kontaktna oseba'), 'Marko Kovač' FROM TOsnovniPod WHERE CelotnoIme = 'Mizarstvo Kovač s.p.'"));
    const QList<ContactCard> exported = ExportCards(*first);
    QCOMPARE(exported.size(), 4);
    // What the export itself must carry, whatever the import makes of it.
    const QString all = describeAll(exported).join(QLatin1Char('\n'));
    for (const QString &fact : {QStringLiteral("Kupuje med, vosek; tudi propolis."), QStringLiteral("Prijatelji|Čebelarji"),
                                QStringLiteral("NICKNAME=Anči"), QStringLiteral("X-ANDROID-CUSTOM=vnd.android;x"),
                                QStringLiteral("X-VELDRA-DODATNO=Oddelek: Prodaja"), QStringLiteral("X-VELDRA-DODATNO=Številka izkaznice: 42"),
                                QStringLiteral("X-VELDRA-KONTAKT=Kontaktna oseba: Marko Kovač"), QStringLiteral("01 234 56 78/work"),
                                QStringLiteral("+386 41 123 456/cell"), QStringLiteral("xmpp:ana@example.si/"),
                                QStringLiteral("Trubarjeva 5,Ljubljana,1000,Osrednjeslovenska,Slovenija"),
                                QStringLiteral("Čebelarstvo Šuštar d.o.o. ; vodja prodaje ; 1980-5-6")})
        QVERIFY2(all.contains(fact), qPrintable(fact + QStringLiteral(" missing in\n") + all));

    const ReadCards file = ReadVCards(WriteVCards(exported, VCardVersion::V40));
    QVERIFY(file.Problems.isEmpty());
    const auto target = second.connect();
    const int seeded = stored(*target, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod")).toInt();
    const ImportSummary summary = CardImport(*target).run(file.Cards, DuplicatePolicy::Skip);
    QCOMPARE(summary.Persons, 4);
    QCOMPARE(stored(*target, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod")).toInt(), seeded + 4);
    QCOMPARE(describeAll(ExportCards(*target)), describeAll(exported));
}

QTEST_GUILESS_MAIN(TestCardImport)
#include "tst_CardImport.moc"
