#include "DataGenerator.h"

#include "Database.h"
#include "DatabaseError.h"
#include "Schema.h"

#include <QDateTime>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>

namespace DataGenerator {

namespace {

const char *const femaleNames[] = {"Ana", "Maja", "Irena", "Mojca", "Mateja", "Nina", "Barbara", "Andreja", "Petra", "Špela",
                                   "Katja", "Nataša", "Tanja", "Urška", "Eva", "Sara", "Tjaša", "Živa", "Lara", "Manca"};
const char *const maleNames[] = {"Franc", "Janez", "Anton", "Marko", "Andrej", "Jožef", "Ivan", "Luka", "Matej", "Peter",
                                 "Tomaž", "Aleš", "Bojan", "Rok", "Jure", "Žiga", "Gregor", "Primož", "Žan", "Miha", "Nejc", "Črt", "Blaž"};
const char *const surnames[] = {"Novak", "Horvat", "Kovačič", "Krajnc", "Zupančič", "Potočnik", "Kovač", "Mlakar", "Kos", "Vidmar",
                                "Golob", "Turk", "Kralj", "Zupan", "Bizjak", "Hribar", "Korošec", "Rozman", "Kotnik", "Oblak",
                                "Petek", "Žagar", "Kolar", "Košir", "Hočevar", "Koren", "Klemenčič", "Zajc", "Knez", "Medved",
                                "Petrič", "Pirc", "Hrovat", "Kuhar", "Lah", "Uršič", "Tomažič", "Zorko", "Sever", "Erjavec",
                                "Babič", "Jereb", "Jerman", "Majcen", "Pušnik", "Breznik", "Rupnik", "Lesjak", "Perko", "Dolenc",
                                "Furlan", "Pavlič", "Jenko", "Logar", "Tomšič", "Škof", "Čeh", "Šuštar", "Žnidaršič", "Čuk",
                                "Štrukelj", "Šinkovec", "Ferk", "Ambrožič", "Bergant", "Cerar", "Debeljak", "Erzin", "Gorjup"};
const char *const streets[] = {"Slovenska cesta", "Prešernova ulica", "Cankarjeva ulica", "Trg svobode", "Gregorčičeva ulica",
                               "Tržaška cesta", "Celovška cesta", "Ljubljanska cesta", "Šolska ulica", "Partizanska cesta",
                               "Kidričeva ulica", "Vrtna ulica", "Župančičeva ulica", "Čopova ulica", "Glavni trg"};
const char *const trades[] = {"Kovinar", "Elektro", "Gradnje", "Lesarstvo", "Mlin", "Čebelarstvo", "Pekarna", "Mizarstvo",
                              "Računovodstvo", "Servis", "Trgovina", "Avto", "Vrtnarstvo", "Tiskarna", "Inženiring"};
const char *const forms[] = {"d.o.o.", "s.p.", "d.d."};
const char *const titles[] = {"dr.", "mag.", "prof."};
const char *const notes[] = {"Poklicati v ponedeljek", "Poslati ponudbo", "Dogovor o ceni", "Stalna stranka", "Plačilo v 30 dneh",
                             "Želi prejemati novice", "Srečanje na sejmu", "Priporočil ga je znanec"};
const char *const extraFields[] = {"Hobi", "Velikost", "Jezik", "Konfekcija", "Prevoz"};
const char *const extraValues[] = {"Kolesarjenje", "M", "Angleščina", "XL", "Službeni avto", "Planinarjenje"};
const char *const banks[] = {"02010", "04515", "05100", "06000", "07000", "10100", "19100", "29000", "33000", "34000"};

template<size_t N> QString pick(QRandomGenerator &random, const char *const (&list)[N])
{
    return QString::fromUtf8(list[random.bounded(int(N))]);
}

// Counts of the template's code lists: places, contact types, categories.
constexpr int Places = 15;
constexpr int ContactTypes = 8;
constexpr int Categories = 6;
// The template's alarm types: yearly, yearly, monthly, once, once.
enum AlarmType { Birthday = 1, Anniversary, MonthlyReminder, Deadline, Meeting };

// A bank account with the check digits of ISO 7064 MOD 97-10, as Slovenian accounts have them.
QString accountNumber(const QString &bank, int account)
{
    const QString digits = bank + QStringLiteral("%1").arg(account, 8, 10, QLatin1Char('0'));
    const int check = 98 - int(digits.toLongLong() * 100 % 97);
    return bank + QLatin1Char('-') + digits.mid(5) + QStringLiteral("%1").arg(check, 2, 10, QLatin1Char('0'));
}

qint64 nextKey(const Database &database, const char *table, const char *key)
{
    QSqlQuery query = database.runNative(QStringLiteral("SELECT max(%1) FROM %2").arg(QString::fromLatin1(key), QString::fromLatin1(table)));
    return query.next() ? query.value(0).toLongLong() + 1 : 1;
}

// One prepared statement, run for many rows.
class Inserter
{
public:
    Inserter(const Database &database, const char *table, const QStringList &columns)
        : m_database(database)
        , m_query(database.connection())
        , m_table(Schema::table(QString::fromLatin1(table)))
    {
        for (const QString &column : columns)
            m_columns.push_back(m_table->column(column));
        m_query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(QString::fromLatin1(table), columns.join(QStringLiteral(", ")),
                                 QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", "))));
    }
    void insert(const QVariantList &values)
    {
        for (int i = 0; i < values.size(); ++i)
            m_query.bindValue(i, m_database.toDatabase(*m_columns[i], values[i]));
        if (!m_query.exec())
            throw DatabaseError(QStringLiteral("Generated data could not be written."), m_query.lastQuery(), m_query.lastError().text());
    }

private:
    const Database &m_database;
    QSqlQuery m_query;
    const Schema::Table *m_table;
    std::vector<const Schema::Column *> m_columns;
};

}

void addPersons(const Database &database, int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QSqlDatabase connection = database.connection();
    connection.transaction();

    const qint64 firstPerson = nextKey(database, "TOsnovniPod", "ID");
    Inserter persons(database, "TOsnovniPod",
                     {QStringLiteral("ID"), QStringLiteral("Naziv"), QStringLiteral("Ime"), QStringLiteral("SrednjeIme"),
                      QStringLiteral("Priimek"), QStringLiteral("CelotnoIme"), QStringLiteral("Sifra"), QStringLiteral("DatumRojstva"),
                      QStringLiteral("PravnaOseba"), QStringLiteral("Podjetje"), QStringLiteral("Naslov"), QStringLiteral("IDKRAJ"),
                      QStringLiteral("IDDRZAVA"), QStringLiteral("IDPodjetja"), QStringLiteral("FunckijaVPodjetju"),
                      QStringLiteral("TRR"), QStringLiteral("Davcna")});
    Inserter contacts(database, "TOsnovniPodVezaKontakt", {QStringLiteral("IDOsebe"), QStringLiteral("IDKontat"), QStringLiteral("Value")});
    Inserter personNotes(database, "TOsnovniPodVezaOpombe",
                         {QStringLiteral("IDOsebe"), QStringLiteral("Value"), QStringLiteral("Datum"), QStringLiteral("Sort")});
    Inserter extraData(database, "TOsnovniPodDodatno",
                       {QStringLiteral("IDOsebe"), QStringLiteral("Polje"), QStringLiteral("Value"), QStringLiteral("Sort")});
    Inserter categories(database, "TOsnovniPodVezaKategorje", {QStringLiteral("IDOsebe"), QStringLiteral("IDkat")});
    Inserter alarms(database, "TOsnovniPodVezaAlarmi",
                    {QStringLiteral("IDOsebe"), QStringLiteral("IDAlarm"), QStringLiteral("DatumCas"), QStringLiteral("Value"),
                     QStringLiteral("AlertDaysBefore")});

    QList<qint64> companies;
    const QDate today = QDate::currentDate();
    for (int i = 0; i < count; ++i) {
        const qint64 id = firstPerson + i;
        const bool company = i % 8 == 0;
        const QString surname = pick(random, surnames);
        const QString street = pick(random, streets) + QLatin1Char(' ') + QString::number(random.bounded(1, 120));
        const int place = random.bounded(1, Places + 1);
        QString fullName, first, middle, title;
        QVariant birth, employer;
        if (company) {
            fullName = pick(random, trades) + QLatin1Char(' ') + surname + QLatin1Char(' ') + pick(random, forms);
            companies << id;
        } else {
            first = random.bounded(2) ? pick(random, femaleNames) : pick(random, maleNames);
            if (random.bounded(20) == 0)
                middle = pick(random, maleNames);
            if (random.bounded(15) == 0)
                title = pick(random, titles);
            fullName = QStringList{title, first, middle, surname}.join(QLatin1Char(' ')).simplified();
            birth = QDate(1940 + random.bounded(65), random.bounded(1, 13), random.bounded(1, 29)).startOfDay();
            if (!companies.isEmpty() && random.bounded(3) > 0)
                employer = companies[random.bounded(int(companies.size()))];
        }
        const QString account = accountNumber(pick(random, banks), random.bounded(100000000));
        persons.insert({id, title.isEmpty() ? QVariant() : QVariant(title), first.isEmpty() ? QVariant() : QVariant(first),
                        middle.isEmpty() ? QVariant() : QVariant(middle), company ? QVariant() : QVariant(surname), fullName,
                        random.bounded(4) == 0 ? QVariant(QStringLiteral("S%1").arg(id)) : QVariant(), birth, company,
                        company ? QStringLiteral("True") : QStringLiteral("False"), street, place, 1, employer,
                        employer.isNull() ? QVariant() : QVariant(QStringLiteral("Sodelavec")),
                        random.bounded(2) ? QVariant(account) : QVariant(),
                        company || random.bounded(3) == 0 ? QVariant(QString::number(10000000 + random.bounded(89999999))) : QVariant()});

        const QString mailName = (first.isEmpty() ? surname : first + QLatin1Char('.') + surname).toLower();
        for (int c = random.bounded(2, 7); c > 0; --c) {
            const int type = random.bounded(1, ContactTypes + 1);
            const QString value = type == 3 ? mailName + QStringLiteral("@primer.si")
                : type == 4               ? QStringLiteral("www.%1.si").arg(surname.toLower())
                                          : QStringLiteral("0%1 %2 %3").arg(random.bounded(1, 8)).arg(random.bounded(100, 999)).arg(random.bounded(1000, 9999));
            contacts.insert({id, type, value});
        }
        for (int n = random.bounded(5); n > 0; --n)
            personNotes.insert({id, pick(random, notes), today.addDays(-random.bounded(2000)).startOfDay(), n});
        for (int e = random.bounded(3); e > 0; --e)
            extraData.insert({id, pick(random, extraFields), pick(random, extraValues), e});
        for (int k = random.bounded(5), from = random.bounded(1, Categories + 1); k > 0; --k)
            categories.insert({id, (from + k) % Categories + 1});
        if (!company && random.bounded(10) < 9)
            alarms.insert({id, Birthday, birth, QStringLiteral("Rojstni dan"), random.bounded(0, 8)});
        // Three in four have a reminder: a monthly one, or once on a day of the last and next year.
        if (random.bounded(4) < 3) {
            const bool monthly = random.bounded(3) == 0;
            const QDateTime when = today.addDays(random.bounded(-365, 366)).startOfDay();
            alarms.insert({id, monthly ? MonthlyReminder : random.bounded(Deadline, Meeting + 1), when,
                           monthly ? QStringLiteral("Mesečno poročilo") : pick(random, notes), random.bounded(0, 4)});
        }
    }
    // Keys given here must not be handed out again by the server's counters.
    if (database.dialect() == SqlDialect::Postgres)
        database.runNative(QStringLiteral("SELECT setval(pg_get_serial_sequence('tosnovnipod', 'id'), (SELECT max(ID) FROM TOsnovniPod))"));
    if (!connection.commit())
        throw DatabaseError(QStringLiteral("Generated data could not be written."), QString(), connection.lastError().text());
}

}
