#include "VCardFormat.h"

#include <QFile>
#include <QStringDecoder>
#include <QTest>

Q_DECLARE_METATYPE(ContactCard)

namespace {

QByteArray sample(const QString &name)
{
    QFile file(QStringLiteral(SAMPLES) + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Types are a set: their order is not kept by every version.
QString typesText(QStringList types)
{
    types.sort();
    return QStringLiteral(" [") + types.join(u',') + u']';
}

QString valuesText(const QList<CardValue> &values)
{
    QStringList out;
    for (const CardValue &value : values)
        out.append(value.Value + typesText(value.Types)
                   + (value.Label.isEmpty() ? QString() : QStringLiteral(" {") + value.Label + u'}'));
    return out.join(QStringLiteral(" | "));
}

QString addressesText(const QList<CardAddress> &addresses)
{
    QStringList out;
    for (const CardAddress &a : addresses)
        out.append(QStringList{a.PostOfficeBox, a.Extended, a.Street, a.Locality, a.Region, a.PostalCode, a.Country}.join(u'/')
                   + typesText(a.Types)
                   + (a.Label.isEmpty() ? QString() : QStringLiteral(" {") + a.Label + u'}'));
    return out.join(QStringLiteral(" | "));
}

QString dateText(const CardDate &date)
{
    if (date.isEmpty())
        return {};
    return (date.hasYear() ? QString::number(date.Year) : QStringLiteral("-")) + QStringLiteral("-%1-%2")
        .arg(date.Month, 2, 10, QLatin1Char('0')).arg(date.Day, 2, 10, QLatin1Char('0'));
}

QString extraText(const QList<CardProperty> &extra)
{
    QStringList out;
    for (const CardProperty &property : extra)
        out.append(property.Name + u'=' + property.Value);
    return out.join(QStringLiteral(" | "));
}

// One field of a card as text, so that tables can name what they check.
QString field(const ContactCard &card, const QString &name)
{
    const CardName &n = card.Name;
    if (name == u"name")
        return QStringList{n.Family, n.Given, n.Additional, n.Prefix, n.Suffix}.join(u'/');
    if (name == u"fn")
        return card.FormattedName;
    if (name == u"org")
        return card.Organisation + u'/' + card.Department + u'/' + card.Title
            + (card.IsOrganisation ? QStringLiteral(" (org)") : QString());
    if (name == u"adr")
        return addressesText(card.Addresses);
    if (name == u"tel")
        return valuesText(card.Telephones);
    if (name == u"email")
        return valuesText(card.Emails);
    if (name == u"url")
        return valuesText(card.Urls);
    if (name == u"impp")
        return valuesText(card.Impps);
    if (name == u"bday")
        return dateText(card.Birthday);
    if (name == u"notes")
        return card.Notes.join(QStringLiteral(" | "));
    if (name == u"categories")
        return card.Categories.join(u',');
    if (name == u"extra")
        return extraText(card.Extra);
    if (name == u"skipped")
        return QString::number(card.SkippedProperties);
    return QStringLiteral("unknown field ") + name;
}

// Everything a card carries, for comparing a card with its round trip.
QString everything(const ContactCard &card)
{
    QStringList out;
    for (const char *name : {"name", "fn", "org", "adr", "tel", "email", "url", "impp", "bday", "notes", "categories", "extra"})
        out.append(QLatin1String(name) + u':' + field(card, QLatin1String(name)));
    return out.join(u'\n');
}

QString problemsText(const QList<CardProblem> &problems)
{
    QStringList out;
    for (const CardProblem &problem : problems)
        out.append(QString::number(problem.Line) + u':' + problem.Reason);
    return out.join(QStringLiteral(" | "));
}

QString formattedNames(const QList<ContactCard> &cards)
{
    QStringList out;
    for (const ContactCard &card : cards)
        out.append(card.FormattedName);
    return out.join(QStringLiteral(" | "));
}

// Text with NUL bytes in it.
template<qsizetype N>
QByteArray bytes(const char (&text)[N])
{
    return QByteArray(text, N - 1);
}

// The first card of a file made of the given lines.
ContactCard readOne(const QByteArray &text)
{
    const ReadCards read = ReadVCards(text);
    return read.Cards.isEmpty() ? ContactCard() : read.Cards.first();
}

ContactCard person()
{
    ContactCard card;
    card.Name = {QStringLiteral("Kovačič"), QStringLiteral("Špela"), QStringLiteral("Ana Marija"), QStringLiteral("dr."), QStringLiteral("ml.")};
    card.FormattedName = QStringLiteral("dr. Špela Ana Marija Kovačič ml.");
    card.Organisation = QStringLiteral("Zavarovalnica Triglav, d.d.");
    card.Department = QStringLiteral("Prodaja; Ljubljana");
    card.Title = QStringLiteral("Vodja prodaje");
    card.Addresses.append({QStringLiteral("p.p. 14"), QString(), QStringLiteral("Čopova ulica 3\nII. nadstropje"), QStringLiteral("Ljubljana"),
                           QString(), QStringLiteral("1000"), QStringLiteral("Slovenija"), {QStringLiteral("home"), QStringLiteral("pref")}, QString()});
    card.Addresses.append({QString(), QString(), QStringLiteral("Glavni trg 1"), QStringLiteral("Maribor"), QString(), QStringLiteral("2000"),
                           QStringLiteral("SI"), {QStringLiteral("work")}, QStringLiteral("Pisarna")});
    card.Telephones.append({QStringLiteral("+386 41 123 456"), {QStringLiteral("cell"), QStringLiteral("pref")}, QString()});
    card.Telephones.append({QStringLiteral("+386-1-234-5678 ext. 102"), {QStringLiteral("work")}, QString()});
    card.Telephones.append({QStringLiteral("040 999 888"), {}, QStringLiteral("Vikend, zasebno")});
    card.Emails.append({QStringLiteral("spela@example.si"), {QStringLiteral("work")}, QStringLiteral("zasebno – šola")});
    card.Urls.append({QStringLiteral("https://www.example.si/spela?a=1,2"), {}, QString()});
    card.Impps.append({QStringLiteral("xmpp:spela@example.si"), {}, QString()});
    card.Birthday = {1980, 5, 6};
    card.Notes = {QStringLiteral("Sestanek v torek, ob 14. uri; prinesi C:\\Pogodbe.\nDrugi del."), QStringLiteral("Druga opomba")};
    card.Categories = {QStringLiteral("Služba"), QStringLiteral("Stranke, ključne")};
    card.Extra = {{QStringLiteral("NICKNAME"), QStringLiteral("Špelca")},
                  {QStringLiteral("X-ANDROID-CUSTOM"), QStringLiteral("vnd.android.cursor.item/nickname;Tiški;1;;;")}};
    return card;
}

ContactCard company()
{
    ContactCard card;
    card.FormattedName = QStringLiteral("Gostilna Pri Lojzetu");
    card.Organisation = QStringLiteral("Gostilna Pri Lojzetu");
    card.IsOrganisation = true;
    card.Telephones.append({QStringLiteral("+386 2 252 10 10"), {QStringLiteral("work")}, QString()});
    card.Birthday = {0, 12, 31};
    return card;
}

}

class TestVCardFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsSamples_data();
    void readsSamples();
    void malformedSamplesKeepTheOtherCards_data();
    void malformedSamplesKeepTheOtherCards();
    void readsLineAndValueForms_data();
    void readsLineAndValueForms();
    void reportsBrokenFiles_data();
    void reportsBrokenFiles();
    void writesRequiredAndVersionForms_data();
    void writesRequiredAndVersionForms();
    void writerFoldsWithoutSplittingLetters();
    void roundTrip_data();
    void roundTrip();
    void samplesSurviveARoundTrip_data();
    void samplesSurviveARoundTrip();
};

void TestVCardFormat::readsSamples_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("card");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QString android = QStringLiteral("android-2.1-qp.vcf");
    QTest::newRow("android name") << android << 0 << "name" << "Šubelj/Tiša///";
    QTest::newRow("android bare types") << android << 0 << "tel"
                                        << "+38641123456 [cell,pref] | 01 234 56 78 [home] | +386 1 477 60 00 [work]";
    QTest::newRow("android address") << android << 0 << "adr" << "//Čufarjeva ulica 12/Ljubljana//1000/Slovenija [home]";
    QTest::newRow("android organisation") << android << 0 << "org" << "Žito d.o.o./Računovodstvo/Vodja računovodstva";
    QTest::newRow("android note across soft breaks") << android << 0 << "notes"
                                                     << "Rojstni dan praznuje z družino.\nPokliči po 17. uri – ne v četrtek; hvala, Tiša.";
    QTest::newRow("android custom") << android << 0 << "extra"
                                    << "X-ANDROID-CUSTOM=vnd.android.cursor.item/nickname;Tiški;1;;;;;;;;;;;;;";
    QTest::newRow("android photo skipped") << android << 0 << "skipped" << "1";
    QTest::newRow("android birthday") << android << 0 << "bday" << "1980-05-06";
    QTest::newRow("android soft break inside a letter") << android << 1 << "fn" << "mag. Žiga Matjaž Kranjčević";
    QTest::newRow("android custom labels") << android << 1 << "tel" << "031 987 654 [cell] | 02 620 11 22 [] {Vikend}";
    QTest::newRow("android custom e-mail label") << android << 1 << "email" << "ziga@example.com [] {Zasebno}";
    QTest::newRow("android addresses") << android << 1 << "adr"
                                       << "//Ulica heroja Šaranoviča 27, vhod B, 3. nadstropje/Maribor//2000/Slovenija [work] | "
                                          "p.p. 14//Gorkega ulica 3/Maribor//2000/SI [home]";
    QTest::newRow("android plain card") << android << 2 << "tel" << "+386 40 111 222 [cell]";

    const QString outlook = QStringLiteral("outlook-2.1-cp1250.vcf");
    QTest::newRow("outlook raw windows-1250") << outlook << 0 << "org" << "Elektro Maribor d.d./Služba za odjem/Vodja službe";
    QTest::newRow("outlook quoted-printable windows-1250") << outlook << 0 << "notes"
                                                           << "Poklicati po 15. uri.\nNaročilo št. 42 še ni plačano; opomin poslan, čaka na odgovor računovodstva.";
    QTest::newRow("outlook telephones") << outlook << 0 << "tel"
                                        << "+386 2 220 00 00 [work] | +386 31 222 333 [cell] | +386 2 220 00 01 [fax,work]";
    QTest::newRow("outlook addresses") << outlook << 0 << "adr"
                                       << "//Vetrinjska ulica 2/Maribor//2000/Slovenija [pref,work] | //Čopova ulica 14\nStanovanje 7/Ljubljana//1000/Slovenija [home]";
    QTest::newRow("outlook birthday") << outlook << 0 << "bday" << "1975-03-12";
    QTest::newRow("outlook bookkeeping neither kept nor counted") << outlook << 0 << "skipped" << "0";
    QTest::newRow("outlook name") << outlook << 1 << "name" << "Čebašek/Špela//ga./";
    QTest::newRow("outlook categories by semicolon") << outlook << 1 << "categories" << "Stranke,Občine";

    const QString iphone = QStringLiteral("iphone-3.0.vcf");
    QTest::newRow("iphone name") << iphone << 0 << "name" << "Kovačič/Špela/Ana//";
    QTest::newRow("iphone organisation") << iphone << 0 << "org" << "Zavarovalnica Triglav, d.d./Prodaja, Ljubljana – center/Vodja prodaje";
    QTest::newRow("iphone labelled e-mails") << iphone << 0 << "email"
                                             << "spela.kovacic@example.si [other,pref] | spelca@example.com [] {zasebno – šola}";
    QTest::newRow("iphone telephones") << iphone << 0 << "tel"
                                       << "+386 41 123 456 [cell,pref] | 01 234 56 78 [work] | 040 999 888 [] {Vikend}";
    QTest::newRow("iphone folded addresses") << iphone << 0 << "adr"
                                             << "//Trubarjeva cesta 7/Ljubljana//1000/Slovenija [home,pref] | "
                                                "//Miklošičeva cesta 19\nII. nadstropje/Ljubljana//1000/Slovenija [work]";
    QTest::newRow("iphone escaped url") << iphone << 0 << "url" << "https://www.example.si/spela [homepage,pref]";
    QTest::newRow("iphone escaped note") << iphone << 0 << "notes"
                                         << "Sestanek v torek, ob 14. uri; prinesi pogodbo in račun.\nDrugi del: znesek 12,50 € – plačano. Mapa C:\\Pogodbe\\2026.";
    QTest::newRow("iphone birthday") << iphone << 0 << "bday" << "1980-05-06";
    QTest::newRow("iphone categories") << iphone << 0 << "categories" << "Služba,Stranke";
    QTest::newRow("iphone photo skipped") << iphone << 0 << "skipped" << "1";
    QTest::newRow("iphone company") << iphone << 1 << "org" << "Gostilna Pri Lojzetu// (org)";
    QTest::newRow("iphone company name empty") << iphone << 1 << "name" << "////";
    QTest::newRow("iphone uid kept") << iphone << 1 << "extra" << "UID=0E8B9B3A-1A2B-4C5D-8E9F-112233445566";

    const QString gmail = QStringLiteral("gmail-3.0.vcf");
    QTest::newRow("gmail labelled telephone") << gmail << 0 << "tel"
                                              << "+386 41 555 666 [cell] | 02 250 00 00 [work] | 040 111 222 [] {Vikendica}";
    QTest::newRow("gmail labelled address with line break") << gmail << 0 << "adr"
                                                            << "//Gosposvetska cesta 3/Maribor//2000/SI [home] | "
                                                               "//Prešernov trg 1\nvhod z dvorišča/Ljubljana//1000/Slovenija [] {Pisarna}";
    QTest::newRow("gmail e-mails") << gmail << 0 << "email" << "jure.potocnik@example.com [home] | jure@podjetje.example.si [work]";
    QTest::newRow("gmail nickname") << gmail << 0 << "extra" << "NICKNAME=Jurček";
    QTest::newRow("gmail note") << gmail << 0 << "notes" << "Spoznala sva se na konferenci v Portorožu, 2019.";
    QTest::newRow("gmail categories without its own group") << gmail << 0 << "categories" << "Prijatelji";
    QTest::newRow("gmail empty label") << gmail << 1 << "org" << "Univerza v Mariboru//";
    QTest::newRow("gmail empty label not kept") << gmail << 1 << "extra" << "";
    QTest::newRow("gmail starred") << gmail << 1 << "categories" << "Služba,Starred";

    const QString v4 = QStringLiteral("vcard-4.0.vcf");
    QTest::newRow("4.0 name lists") << v4 << 0 << "name" << "Novak Horvat/Ana/Marija Terezija/dr./ml.";
    QTest::newRow("4.0 tel uris") << v4 << 0 << "tel"
                                  << "+386-41-123-456 [cell,pref] | +386-1-234-5678 ext. 102 [work] | 01 300 20 10 [home]";
    QTest::newRow("4.0 quoted label and geo") << v4 << 0 << "adr"
                                              << "//Čopova ulica 3/Ljubljana//1000/Slovenija [home] | //Slomškov trg 15/Maribor//2000/SI [work]";
    QTest::newRow("4.0 birthday without year") << v4 << 0 << "bday" << "--05-06";
    QTest::newRow("4.0 impp") << v4 << 0 << "impp" << "xmpp:ana.novak@jabber.example.si [pref]";
    QTest::newRow("4.0 extra") << v4 << 0 << "extra"
                               << "GENDER=F | ANNIVERSARY=20090808 | LANG=sl | LANG=en | UID=urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1";
    QTest::newRow("4.0 folded note") << v4 << 0 << "notes"
                                     << "Dežurstvo ob sobotah, razen julija.\nKontakt prek tajništva; ne kliči zasebno.";
    QTest::newRow("4.0 data photo skipped") << v4 << 0 << "skipped" << "1";
    QTest::newRow("4.0 organisation") << v4 << 1 << "org" << "Mestna knjižnica Ljubljana// (org)";
    QTest::newRow("4.0 remote photo skipped") << v4 << 1 << "skipped" << "1";
    QTest::newRow("4.0 geo kept") << v4 << 1 << "extra" << "GEO=geo:46.0569,14.5058 | UID=urn:uuid:9d1f3c2e-5b7a-4e61-a0c4-8f2b6d3e1a90";
}

void TestVCardFormat::readsSamples()
{
    QFETCH(QString, file);
    QFETCH(int, card);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const ReadCards read = ReadVCards(sample(file));
    QCOMPARE(problemsText(read.Problems), QString());
    QVERIFY(card < read.Cards.size());
    QCOMPARE(::field(read.Cards[card], field), expected);
}

void TestVCardFormat::malformedSamplesKeepTheOtherCards_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QList<int>>("lines");
    QTest::newRow("missing end") << "malformed-missing-end.vcf" << "7:manjka END:VCARD"
                                 << "Alenka Zupančič | Cvetka Žnidaršič" << QList<int>{1, 13};
    QTest::newRow("no colon") << "malformed-no-colon.vcf" << "7:vrstica 12 brez dvopičja"
                              << "Alenka Zupančič | Cvetka Žnidaršič" << QList<int>{1, 15};
}

// The broken card is reported where it begins and left out; the others are read.
void TestVCardFormat::malformedSamplesKeepTheOtherCards()
{
    QFETCH(QString, file);
    QFETCH(QString, problems);
    QFETCH(QString, names);
    QFETCH(QList<int>, lines);
    const ReadCards read = ReadVCards(sample(file));
    QCOMPARE(problemsText(read.Problems), problems);
    QCOMPARE(formattedNames(read.Cards), names);
    QList<int> found;
    for (const ContactCard &card : read.Cards)
        found.append(card.Line);
    QCOMPARE(found, lines);
    QCOMPARE(field(read.Cards.last(), QStringLiteral("tel")), QStringLiteral("041 100 003 [cell]"));
}

void TestVCardFormat::readsLineAndValueForms_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("expected");

    const QByteArray v30 = "BEGIN:VCARD\r\nVERSION:3.0\r\n";
    const QByteArray v21 = "BEGIN:VCARD\r\nVERSION:2.1\r\n";
    const QByteArray end = "END:VCARD\r\n";
    QTest::newRow("fold drops one blank, tab too") << v30 + "NOTE:ab\r\n  cd\r\n\tef\r\n" + end << "notes" << "ab cdef";
    QTest::newRow("LF line ends") << QByteArray("BEGIN:VCARD\nVERSION:3.0\nNOTE:ab\n cd\nEND:VCARD\n") << "notes" << "abcd";
    QTest::newRow("2.1 fold keeps its blank") << v21 + "NOTE:Janez\r\n Horvat\r\n" + end << "notes" << "Janez Horvat";
    QTest::newRow("soft break after a plain letter") << v21 + "NOTE;ENCODING=QUOTED-PRINTABLE:po=\r\nslan=0D=0Anaprej\r\n" + end
                                                     << "notes" << "poslan\nnaprej";
    QTest::newRow("soft break between the bytes of a letter")
        << v21 + "NOTE;CHARSET=UTF-8;QUOTED-PRINTABLE:=C4=\r\n=8Drka\r\n" + end << "notes" << "črka";
    QTest::newRow("soft break after a quoted colon")
        << v21 + "NOTE;X-KRAJ=\"a:b\";ENCODING=QUOTED-PRINTABLE:ena=\r\n dva\r\n" + end << "notes" << "ena dva";
    QTest::newRow("equals sign without quoted-printable is text") << v30 + "URL:http://example.si/?a=\r\n" + end
                                                                 << "url" << "http://example.si/?a= []";
    QTest::newRow("iso-8859-2") << v21 + "FN;CHARSET=ISO-8859-2:\xB9ola \xE8\xE8\r\n" + end << "fn" << "šola čč";
    QTest::newRow("raw windows-1250 without charset") << v30 + "FN:\x8Aola \xE8\r\n" + end << "fn" << "Šola č";
    QTest::newRow("raw UTF-8 without charset") << v30 + "FN:Šola č\r\n" + end << "fn" << "Šola č";
    QTest::newRow("charset UTF-8 on windows-1250 bytes") << v21 + "FN;CHARSET=UTF-8:\x8Aola\r\n" + end << "fn" << "Šola";
    QTest::newRow("8-bit bytes in a 7-bit charset") << v21 + "FN;CHARSET=US-ASCII:Šola\r\n" + end << "fn" << "Šola";
    QTest::newRow("unknown charset") << v21 + "FN;CHARSET=X-NOBODY:Šola\r\n" + end << "fn" << "Šola";
    QTest::newRow("escapes") << v30 + "NOTE:a\\,b\\;c\\nd\\Ne\\\\f\\:g\\x\r\n" + end << "notes" << "a,b;c\nd\ne\\f:g\\x";
    QTest::newRow("2.1 keeps backslash n") << v21 + "NOTE:C:\\new\\;x\r\n" + end << "notes" << "C:\\new;x";
    QTest::newRow("escaped separators stay in their part") << v30 + "N:Novak\\;Horvat;Ana\\,Marija;;;\r\n" + end
                                                           << "name" << "Novak;Horvat/Ana,Marija///";
    QTest::newRow("missing name parts") << v30 + "N:Novak\r\n" + end << "name" << "Novak////";
    QTest::newRow("repeated and mixed-case types") << v30 + "TEL;type=WORK;TYPE=fax,pref;Type=work:1\r\n" + end
                                                   << "tel" << "1 [fax,pref,work]";
    QTest::newRow("quoted parameter with separators")
        << QByteArray("BEGIN:VCARD\r\nVERSION:4.0\r\nADR;LABEL=\"a;b:c\";TYPE=\"home,work\":;;Ulica 1;Kraj;;;\r\n") + end
        << "adr" << "//Ulica 1/Kraj/// [home,work]";
    QTest::newRow("label before its value") << v30 + "item1.X-ABLabel:Vikend\r\nitem1.TEL:1\r\nTEL:2\r\n" + end
                                            << "tel" << "1 [] {Vikend} | 2 []";
    QTest::newRow("label of nothing kept") << v30 + "item1.X-ABLabel:Moj\r\n" + end << "extra" << "X-ABLabel=Moj";
    QTest::newRow("older instant messaging") << v30 + "X-JABBER:ana@example.si\r\nX-SKYPE:ana.novak\r\n" + end
                                             << "impp" << "xmpp:ana@example.si [] | skype:ana.novak []";
    QTest::newRow("tel uri in 3.0") << v30 + "TEL:tel:+386-1-234;ext=9;phone-context=x\r\n" + end << "tel" << "+386-1-234 ext. 9 []";
    QTest::newRow("unknown X- kept, unknown standard counted")
        << v30 + "X-CUSTOM-FIELD:vrednost\r\nFOO:bar\r\nX-ABUID:123\r\n" + end << "extra" << "X-CUSTOM-FIELD=vrednost";
    QTest::newRow("binary X- counted") << v30 + "X-FACE;ENCODING=b:AAAA\r\nFOO:bar\r\nFN:x\r\n" + end << "skipped" << "2";
    QTest::newRow("birthday with hyphens, no year") << v30 + "BDAY:--05-06\r\n" + end << "bday" << "--05-06";
    QTest::newRow("birthday with a time") << v30 + "BDAY:1980-05-06T00:00:00Z\r\n" + end << "bday" << "1980-05-06";
    QTest::newRow("bad birthday kept as text") << v30 + "BDAY:circa 1800\r\n" + end << "extra" << "BDAY=circa 1800";
    QTest::newRow("impossible birthday kept as text") << v30 + "BDAY:1980-02-30\r\n" + end << "extra" << "BDAY=1980-02-30";
    QTest::newRow("apple birthday without year") << v30 + "BDAY;X-APPLE-OMIT-YEAR=1604:1604-05-06\r\n" + end << "bday" << "--05-06";
    QTest::newRow("control characters dropped") << v30 + bytes("NOTE:a\x01\x02" "b\x00" "c\r\n") + end
                                                << "notes" << "abc";
    QTest::newRow("byte order mark") << "\xEF\xBB\xBF" + v30 + "FN:Ana\r\n" + end << "fn" << "Ana";
    QTest::newRow("UTF-16") << QString(QString::fromUtf8(v30 + "FN:Čebašek\r\n" + end)).prepend(QChar(0xFEFF)).toUtf8()
        .replace("\xEF\xBB\xBF", "") << "fn" << "Čebašek";
}

void TestVCardFormat::readsLineAndValueForms()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, field);
    QFETCH(QString, expected);
    const ReadCards read = ReadVCards(lines);
    QCOMPARE(problemsText(read.Problems), QString());
    QCOMPARE(read.Cards.size(), 1);
    QCOMPARE(::field(read.Cards.first(), field), expected);
}

void TestVCardFormat::reportsBrokenFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("problems");
    QTest::addColumn<int>("cards");
    QTest::newRow("end without begin") << QByteArray("FN:x\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:Ana\r\nEND:VCARD\r\n")
                                       << "1:vrstica zunaj vizitke | 2:END:VCARD brez BEGIN:VCARD" << 1;
    QTest::newRow("cut off at the end") << QByteArray("BEGIN:VCARD\r\nFN:Ana\r\nBEGIN:VCARD\r\nFN:Bor\r\n")
                                        << "1:manjka END:VCARD | 3:manjka END:VCARD" << 0;
    QTest::newRow("binary junk inside a card")
        << bytes("BEGIN:VCARD\r\nFN:Ana\r\n\x89PNG\x1A\x00\xFF:\xFE\r\n\x01\x02\r\nEND:VCARD\r\n")
        << "1:neberljiva vrstica 3 | 1:vrstica 4 brez dvopičja" << 0;
    QTest::newRow("empty card") << QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n") << "1:prazna vizitka" << 0;
    QTest::newRow("no cards") << bytes("\x89PNG\x00\x00") << "1:vrstica zunaj vizitke" << 0;
    QTest::newRow("empty file") << QByteArray() << "1:v datoteki ni nobene vizitke" << 0;
}

void TestVCardFormat::reportsBrokenFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, problems);
    QFETCH(int, cards);
    const ReadCards read = ReadVCards(file);
    QCOMPARE(problemsText(read.Problems), problems);
    QCOMPARE(read.Cards.size(), cards);
}

void TestVCardFormat::writesRequiredAndVersionForms_data()
{
    QTest::addColumn<ContactCard>("card");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("expected");

    ContactCard unnamed;
    unnamed.Name = {QStringLiteral("Novak"), QStringLiteral("Ana"), QString(), QStringLiteral("dr."), QString()};
    QTest::newRow("FN composed from the name") << unnamed << int(VCardVersion::V30) << "N:Novak;Ana;;dr.;\r\nFN:dr. Ana Novak\r\n";
    ContactCard nameless;
    nameless.Emails.append({QStringLiteral("ana@example.si"), {}, QString()});
    QTest::newRow("FN from the e-mail") << nameless << int(VCardVersion::V40) << "N:;;;;\r\nFN:ana@example.si\r\n";
    QTest::newRow("3.0 company") << company() << int(VCardVersion::V30) << "X-ABShowAs:COMPANY\r\n";
    QTest::newRow("4.0 company") << company() << int(VCardVersion::V40) << "VERSION:4.0\r\nKIND:org\r\n";
    QTest::newRow("3.0 birthday without year") << company() << int(VCardVersion::V30) << "BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-31\r\n";
    QTest::newRow("4.0 birthday without year") << company() << int(VCardVersion::V40) << "BDAY:--1231\r\n";
    QTest::newRow("3.0 birthday") << person() << int(VCardVersion::V30) << "BDAY:1980-05-06\r\n";
    QTest::newRow("4.0 birthday") << person() << int(VCardVersion::V40) << "BDAY:19800506\r\n";
    QTest::newRow("4.0 pref") << person() << int(VCardVersion::V40) << "TEL;TYPE=cell;PREF=1:+386 41 123 456\r\n";
    QTest::newRow("3.0 pref") << person() << int(VCardVersion::V30) << "TEL;TYPE=cell,pref:+386 41 123 456\r\n";
    QTest::newRow("label in a group") << person() << int(VCardVersion::V30)
                                      << "item2.TEL:040 999 888\r\nitem2.X-ABLabel:Vikend\\, zasebno\r\n";
    QTest::newRow("escaped structured value") << person() << int(VCardVersion::V40)
                                              << "ORG:Zavarovalnica Triglav\\, d.d.;Prodaja\\; Ljubljana\r\n";
    QTest::newRow("one NOTE each") << person() << int(VCardVersion::V30) << "\r\nNOTE:Druga opomba\r\n";
    QTest::newRow("categories") << person() << int(VCardVersion::V30) << "CATEGORIES:Služba,Stranke\\, ključne\r\n";
    QTest::newRow("extra keeps its components") << person() << int(VCardVersion::V40)
                                                << "X-ANDROID-CUSTOM:vnd.android.cursor.item/nickname;Tiški;1;;;\r\n";
}

void TestVCardFormat::writesRequiredAndVersionForms()
{
    QFETCH(ContactCard, card);
    QFETCH(int, version);
    QFETCH(QString, expected);
    const QString written = QString::fromUtf8(WriteVCards({card}, VCardVersion(version)));
    QVERIFY2(written.contains(expected), qPrintable(written));
    QVERIFY(written.startsWith(u"BEGIN:VCARD\r\n"));
    QVERIFY(written.endsWith(u"END:VCARD\r\n"));
}

void TestVCardFormat::writerFoldsWithoutSplittingLetters()
{
    ContactCard card;
    card.FormattedName = QStringLiteral("Ana");
    // One octet of "NOTE:" shifts the two-octet letters so that a naive cut would split one.
    card.Notes = {QStringLiteral("x") + QString(200, u'č') + QStringLiteral("€ konec")};
    const QByteArray written = WriteVCards({card}, VCardVersion::V40);
    const QList<QByteArray> lines = written.split('\n');
    int folds = 0;
    for (const QByteArray &line : lines) {
        QVERIFY2(line.size() <= 76, line.constData()); // 75 octets and the CR
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8(line);
        QVERIFY2(!utf8.hasError(), line.constData());
        folds += line.startsWith(' ') ? 1 : 0;
    }
    QVERIFY(folds >= 5);
    QCOMPARE(readOne(written).Notes, card.Notes);
}

void TestVCardFormat::roundTrip_data()
{
    QTest::addColumn<ContactCard>("card");
    QTest::addColumn<int>("version");
    ContactCard sparse;
    sparse.FormattedName = QStringLiteral("Ana");
    sparse.Telephones.append({QStringLiteral("041 100 001"), {}, QString()});
    for (const auto &[name, version] : {std::pair{"3.0", VCardVersion::V30}, std::pair{"4.0", VCardVersion::V40}}) {
        QTest::addRow("person %s", name) << person() << int(version);
        QTest::addRow("company %s", name) << company() << int(version);
        QTest::addRow("sparse %s", name) << sparse << int(version);
    }
}

void TestVCardFormat::roundTrip()
{
    QFETCH(ContactCard, card);
    QFETCH(int, version);
    const ContactCard other = company();
    const ReadCards read = ReadVCards(WriteVCards({card, other}, VCardVersion(version)));
    QCOMPARE(problemsText(read.Problems), QString());
    QCOMPARE(read.Cards.size(), 2);
    QCOMPARE(everything(read.Cards[0]), everything(card));
    QCOMPARE(read.Cards[0].IsOrganisation, card.IsOrganisation);
    QCOMPARE(everything(read.Cards[1]), everything(other));
}

void TestVCardFormat::samplesSurviveARoundTrip_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("version");
    for (const char *file : {"android-2.1-qp.vcf", "outlook-2.1-cp1250.vcf", "iphone-3.0.vcf", "gmail-3.0.vcf", "vcard-4.0.vcf"}) {
        QTest::addRow("%s as 3.0", file) << QString::fromLatin1(file) << int(VCardVersion::V30);
        QTest::addRow("%s as 4.0", file) << QString::fromLatin1(file) << int(VCardVersion::V40);
    }
}

void TestVCardFormat::samplesSurviveARoundTrip()
{
    QFETCH(QString, file);
    QFETCH(int, version);
    const ReadCards original = ReadVCards(sample(file));
    const ReadCards again = ReadVCards(WriteVCards(original.Cards, VCardVersion(version)));
    QCOMPARE(problemsText(again.Problems), QString());
    QCOMPARE(again.Cards.size(), original.Cards.size());
    for (qsizetype i = 0; i < original.Cards.size(); ++i) {
        QCOMPARE(everything(again.Cards[i]), everything(original.Cards[i]));
        QCOMPARE(again.Cards[i].IsOrganisation, original.Cards[i].IsOrganisation);
    }
}

QTEST_GUILESS_MAIN(TestVCardFormat)
#include "tst_VCardFormat.moc"
