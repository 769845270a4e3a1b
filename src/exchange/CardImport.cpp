#include "CardImport.h"

#include "CountryNames.h"
#include "Database.h"
#include "DatabaseError.h"
#include "ExchangeProperties.h"
#include "NameRules.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QSet>

#include <optional>

namespace {

using namespace ContactKind;

QString tr(const char *text)
{
    return QCoreApplication::translate("CardImport", text);
}

QString folded(const QString &text)
{
    return text.trimmed().toCaseFolded();
}

// Telephone numbers in any writing ("+386 41 123 456", "041/123-456") compare by their
// last eight digits; e-mail addresses without regard to case.
QString comparableTelephone(const QString &number)
{
    QString digits;
    for (const QChar c : number) {
        if (c.isDigit())
            digits += c;
    }
    return digits.size() > 8 ? digits.right(8) : digits;
}

QStringList comparableContacts(const ContactCard &card)
{
    QStringList values;
    for (const CardValue &email : card.Emails)
        values << QStringLiteral("@") + folded(email.Value);
    for (const CardValue &telephone : card.Telephones) {
        const QString digits = comparableTelephone(telephone.Value);
        if (!digits.isEmpty())
            values << QStringLiteral("#") + digits;
    }
    return values;
}

// The first work number that is no mobile or fax: the person's office telephone.
qsizetype officeTelephone(const ContactCard &card)
{
    for (qsizetype i = 0; i < card.Telephones.size(); ++i) {
        const QStringList &types = card.Telephones[i].Types;
        if (types.contains(QLatin1String("work")) && !types.contains(QLatin1String("cell")) && !types.contains(QLatin1String("fax")))
            return i;
    }
    return -1;
}

QString addressText(const CardAddress &address)
{
    QStringList lines;
    for (const QString &part : {address.PostOfficeBox, address.Extended, address.Street})
        if (!part.isEmpty())
            lines << part;
    const QString place = QString(address.PostalCode + QLatin1Char(' ') + address.Locality).trimmed();
    for (const QString &part : {place, address.Region, address.Country})
        if (!part.isEmpty())
            lines << part;
    return lines.join(QLatin1Char('\n'));
}

struct Cancelled
{
};

// A date and time as the clock on the wall shows them, carried without a zone: written
// row after row, they need no look at the time zone for each.
QDateTime wallClock(const QDate &date, const QTime &time)
{
    return QDateTime(date, time, Qt::UTC);
}

// One INSERT of a table, prepared once and run for each row; texts longer than their
// column are cut to it and reported.
class TableInserter
{
public:
    enum Key { WithKey, WithoutKey };

    // Rows of the sub-tables are not asked for their key: it saves the engine a result
    // for each of them.
    TableInserter(Database &database, const char *tableName, const QStringList &columns, Key key = WithKey)
        : m_database(database)
        , m_table(*Schema::table(QString::fromLatin1(tableName)))
        , m_statement(database, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
                                    .arg(QLatin1String(tableName), columns.join(QStringLiteral(", ")),
                                         QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")),
                                         key == WithKey ? QStringLiteral(" RETURNING ") + QLatin1String(m_table.key) : QString()))
    {
        for (const QString &name : columns)
            m_columns.push_back(m_table.column(name));
    }

    qint64 insert(const QVariantList &values, const std::function<void(const char *column, int size)> &cut)
    {
        QVariantList stored;
        stored.reserve(values.size());
        for (qsizetype i = 0; i < values.size(); ++i) {
            const Schema::Column &column = *m_columns[size_t(i)];
            if (column.type == Schema::Type::Text && column.size > 0 && values[i].toString().size() > column.size) {
                cut(column.name, column.size);
                stored << m_database.toDatabase(column, values[i].toString().left(column.size));
            } else {
                stored << m_database.toDatabase(column, values[i]);
            }
        }
        return m_statement.run(stored).toLongLong();
    }

private:
    Database &m_database;
    const Schema::Table &m_table;
    RepeatedStatement m_statement;
    std::vector<const Schema::Column *> m_columns;
};

// The code lists and persons an import looks things up in, read once, and what it adds.
class ImportWork
{
public:
    ImportWork(Database &database, ImportSummary &summary);

    std::optional<qint64> duplicateOf(const ContactCard &card, const QString &fullName) const;
    void add(const ContactCard &card, const QString &fullName);
    void update(qint64 person, const ContactCard &card, const QString &fullName);

private:
    void readCodeLists();
    void readPersons();
    void know(qint64 person, const QString &fullName, const QString &contact);
    QVariantList personValues(const ContactCard &card, const QString &fullName);
    void addDetails(qint64 person, const ContactCard &card, const QSet<QString> &haveContacts);
    qint64 insert(TableInserter &inserter, const QVariantList &values);

    QVariant country(const QString &text);
    QVariant region(const QString &text, const QVariant &country);
    QVariant place(const CardAddress &address, const QVariant &country);
    QVariant company(const QString &name);
    qint64 contactType(int kind, const QString &label, const QString &defaultName);
    qint64 namedContactType(const QString &name);
    qint64 messagingType(const QString &scheme);
    qint64 category(const QString &name);
    void addContact(qint64 person, qint64 type, const QString &value, QSet<QString> &have);

    Database &m_database;
    ImportSummary &m_summary;
    int m_line = 0;
    const QDateTime m_now = wallClock(QDate::currentDate(), QTime::currentTime());

    TableInserter m_persons;
    TableInserter m_contacts;
    TableInserter m_notes;
    TableInserter m_extra;
    TableInserter m_memberships;
    TableInserter m_countries;
    TableInserter m_regions;
    TableInserter m_places;
    TableInserter m_categories;
    TableInserter m_contactTypes;

    QHash<QString, qint64> m_countriesByName;
    QHash<QString, qint64> m_regionsByName;  // "country|name"
    QHash<QString, qint64> m_placesByName;   // "name|zip"
    QHash<QString, qint64> m_placesByZip;
    QHash<QString, qint64> m_companies;
    QHash<QString, qint64> m_categoriesByName;
    QHash<int, qint64> m_typesByKind;
    QHash<QString, qint64> m_typesByName;    // "kind|name"
    int m_lastTypeSort = 0;
    QHash<qint64, QString> m_nameOfPerson;
    QHash<qint64, QSet<QString>> m_personContacts;
    // "name|contact" of every person: a duplicate is found with one look per contact.
    QHash<QString, qint64> m_duplicateKeys;
};

ImportWork::ImportWork(Database &database, ImportSummary &summary)
    : m_database(database)
    , m_summary(summary)
    , m_persons(database, "TOsnovniPod",
                {QStringLiteral("Naziv"), QStringLiteral("Ime"), QStringLiteral("SrednjeIme"), QStringLiteral("Priimek"),
                 QStringLiteral("CelotnoIme"), QStringLiteral("DatumRojstva"), QStringLiteral("PravnaOseba"),
                 QStringLiteral("Podjetje"), QStringLiteral("Naslov"), QStringLiteral("IDKRAJ"), QStringLiteral("IDPOK"),
                 QStringLiteral("IDDRZAVA"), QStringLiteral("IDPodjetja"), QStringLiteral("FunckijaVPodjetju"),
                 QStringLiteral("TelVPodjetju")})
    , m_contacts(database, "TOsnovniPodVezaKontakt", {QStringLiteral("IDOsebe"), QStringLiteral("IDKontat"), QStringLiteral("Value")},
                 TableInserter::WithoutKey)
    , m_notes(database, "TOsnovniPodVezaOpombe",
              {QStringLiteral("IDOsebe"), QStringLiteral("Value"), QStringLiteral("Datum"), QStringLiteral("Sort")}, TableInserter::WithoutKey)
    , m_extra(database, "TOsnovniPodDodatno",
              {QStringLiteral("IDOsebe"), QStringLiteral("Polje"), QStringLiteral("Value"), QStringLiteral("Sort")}, TableInserter::WithoutKey)
    , m_memberships(database, "TOsnovniPodVezaKategorje", {QStringLiteral("IDOsebe"), QStringLiteral("IDkat")}, TableInserter::WithoutKey)
    , m_countries(database, "TDrzave", {QStringLiteral("Naziv"), QStringLiteral("Skrajsano")})
    , m_regions(database, "TPokrajina", {QStringLiteral("IDDRZAVA"), QStringLiteral("Naziv")})
    , m_places(database, "TKraj", {QStringLiteral("IDDRZAVA"), QStringLiteral("Naziv"), QStringLiteral("Zip")})
    , m_categories(database, "TKategorije", {QStringLiteral("Naziv")})
    , m_contactTypes(database, "TKontakti",
                     {QStringLiteral("Naziv"), QStringLiteral("Vrsta"), QStringLiteral("Sort"), QStringLiteral("IsNaslov"),
                      QStringLiteral("StVrstic")})
{
    readCodeLists();
    readPersons();
}

void ImportWork::readCodeLists()
{
    const auto read = [this](const char *sql, const std::function<void(const QVariant *)> &row) {
        m_database.read(QLatin1String(sql), {}, [](const QStringList &) {}, row);
    };
    read("SELECT IDDRZAVE, Naziv, Skrajsano FROM TDrzave ORDER BY IDDRZAVE", [this](const QVariant *v) {
        m_countriesByName.insert(folded(v[1].toString()), v[0].toLongLong());
        if (!v[2].toString().trimmed().isEmpty())
            m_countriesByName.insert(folded(v[2].toString()), v[0].toLongLong());
    });
    read("SELECT IDPOK, IDDRZAVA, Naziv FROM TPokrajina ORDER BY IDPOK", [this](const QVariant *v) {
        m_regionsByName.insert(v[1].toString() + QLatin1Char('|') + folded(v[2].toString()), v[0].toLongLong());
        m_regionsByName.insert(QLatin1Char('|') + folded(v[2].toString()), v[0].toLongLong());
    });
    read("SELECT IDKRAJ, Naziv, Zip FROM TKraj ORDER BY IDKRAJ", [this](const QVariant *v) {
        m_placesByName.insert(folded(v[1].toString()) + QLatin1Char('|') + folded(v[2].toString()), v[0].toLongLong());
        if (!m_placesByName.contains(folded(v[1].toString()) + QLatin1Char('|')))
            m_placesByName.insert(folded(v[1].toString()) + QLatin1Char('|'), v[0].toLongLong());
        if (!v[2].toString().trimmed().isEmpty() && !m_placesByZip.contains(folded(v[2].toString())))
            m_placesByZip.insert(folded(v[2].toString()), v[0].toLongLong());
    });
    read("SELECT IDkat, Naziv FROM TKategorije ORDER BY IDkat",
         [this](const QVariant *v) { m_categoriesByName.insert(folded(v[1].toString()), v[0].toLongLong()); });
    read("SELECT ID, Naziv, Vrsta, Sort FROM TKontakti ORDER BY Sort, ID", [this](const QVariant *v) {
        const int kind = v[2].toInt();
        if (!m_typesByKind.contains(kind))
            m_typesByKind.insert(kind, v[0].toLongLong());
        m_typesByName.insert(QString::number(kind) + QLatin1Char('|') + folded(v[1].toString()), v[0].toLongLong());
        m_lastTypeSort = qMax(m_lastTypeSort, v[3].toInt());
    });
}

void ImportWork::readPersons()
{
    m_database.read(QStringLiteral("SELECT ID, CelotnoIme, Podjetje, TelVPodjetju FROM TOsnovniPod"), {}, [](const QStringList &) {},
                    [this](const QVariant *v) {
                        const qint64 id = v[0].toLongLong();
                        const QString name = folded(v[1].toString());
                        m_nameOfPerson.insert(id, name);
                        if (const QString office = comparableTelephone(v[3].toString()); !office.isEmpty())
                            know(id, name, QStringLiteral("#") + office);
                        if (v[2].toString() == QLatin1String("True") && !m_companies.contains(name))
                            m_companies.insert(name, id);
                    });
    m_database.read(QStringLiteral("SELECT TOsnovniPodVezaKontakt.IDOsebe, TOsnovniPodVezaKontakt.Value, TKontakti.Vrsta "
                                   "FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID"),
                    {}, [](const QStringList &) {}, [this](const QVariant *v) {
                        const int kind = v[2].toInt();
                        const QString value = kind == Email ? QString(QStringLiteral("@") + folded(v[1].toString()))
                                              : kind == Telephone || kind == Mobile || kind == Fax
                                                  ? QString(QStringLiteral("#") + comparableTelephone(v[1].toString()))
                                                  : QString(QString::number(kind) + QLatin1Char('|') + v[1].toString());
                        const qint64 id = v[0].toLongLong();
                        know(id, m_nameOfPerson.value(id), value);
                    });
}

// What makes a person found again: its name with one of its contacts.
void ImportWork::know(qint64 person, const QString &fullName, const QString &contact)
{
    m_personContacts[person].insert(contact);
    const QString key = fullName + QLatin1Char('|') + contact;
    if (!m_duplicateKeys.contains(key))
        m_duplicateKeys.insert(key, person);
}

qint64 ImportWork::insert(TableInserter &inserter, const QVariantList &values)
{
    return inserter.insert(values, [this](const char *column, int size) {
        m_summary.Notices.append({m_line, tr("%1: besedilo je skrajšano na %2 znakov").arg(QLatin1String(column)).arg(size)});
    });
}

std::optional<qint64> ImportWork::duplicateOf(const ContactCard &card, const QString &fullName) const
{
    const QString name = folded(fullName) + QLatin1Char('|');
    for (const QString &value : comparableContacts(card)) {
        if (const auto found = m_duplicateKeys.constFind(name + value); found != m_duplicateKeys.cend())
            return *found;
    }
    return std::nullopt;
}

QVariant ImportWork::country(const QString &text)
{
    if (text.trimmed().isEmpty())
        return {};
    if (const auto found = m_countriesByName.constFind(folded(text)); found != m_countriesByName.cend())
        return *found;
    const CountryNames *known = FindCountryNames(text);
    if (known) {
        for (const QString &name : {known->Slovenian, known->Abbreviation})
            if (const auto found = m_countriesByName.constFind(folded(name)); found != m_countriesByName.cend())
                return *found;
    }
    const QString name = known ? known->Slovenian : text.trimmed();
    const qint64 id = insert(m_countries, {name, known ? known->Abbreviation : QVariant()});
    m_countriesByName.insert(folded(text), id);
    m_countriesByName.insert(folded(name), id);
    if (known)
        m_countriesByName.insert(folded(known->Abbreviation), id);
    return id;
}

QVariant ImportWork::region(const QString &text, const QVariant &country)
{
    if (text.trimmed().isEmpty())
        return {};
    const QString key = country.toString() + QLatin1Char('|') + folded(text);
    if (const auto found = m_regionsByName.constFind(key); found != m_regionsByName.cend())
        return *found;
    const qint64 id = insert(m_regions, {country, text.trimmed()});
    m_regionsByName.insert(key, id);
    return id;
}

QVariant ImportWork::place(const CardAddress &address, const QVariant &country)
{
    if (address.Locality.isEmpty() && address.PostalCode.isEmpty())
        return {};
    const QString key = folded(address.Locality) + QLatin1Char('|') + folded(address.PostalCode);
    if (const auto found = m_placesByName.constFind(key); found != m_placesByName.cend())
        return *found;
    if (address.Locality.isEmpty()) {
        if (const auto found = m_placesByZip.constFind(folded(address.PostalCode)); found != m_placesByZip.cend())
            return *found;
    } else if (address.PostalCode.isEmpty()) {
        if (const auto found = m_placesByName.constFind(folded(address.Locality) + QLatin1Char('|')); found != m_placesByName.cend())
            return *found;
    }
    const qint64 id = insert(m_places, {country, address.Locality, address.PostalCode.isEmpty() ? QVariant() : address.PostalCode});
    m_placesByName.insert(key, id);
    if (!m_placesByName.contains(folded(address.Locality) + QLatin1Char('|')))
        m_placesByName.insert(folded(address.Locality) + QLatin1Char('|'), id);
    if (!address.PostalCode.isEmpty() && !m_placesByZip.contains(folded(address.PostalCode)))
        m_placesByZip.insert(folded(address.PostalCode), id);
    return id;
}

QVariant ImportWork::company(const QString &name)
{
    if (name.trimmed().isEmpty())
        return {};
    if (const auto found = m_companies.constFind(folded(name)); found != m_companies.cend())
        return *found;
    const qint64 id = insert(m_persons, {QVariant(), QVariant(), QVariant(), QVariant(), name.trimmed(), QVariant(), true,
                                         QStringLiteral("True"), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                                         QVariant()});
    m_companies.insert(folded(name), id);
    m_nameOfPerson.insert(id, folded(name));
    ++m_summary.Persons;
    return id;
}

qint64 ImportWork::contactType(int kind, const QString &label, const QString &defaultName)
{
    if (!label.trimmed().isEmpty()) {
        if (const auto found = m_typesByName.constFind(QString::number(kind) + QLatin1Char('|') + folded(label));
            found != m_typesByName.cend())
            return *found;
    }
    if (const auto found = m_typesByKind.constFind(kind); found != m_typesByKind.cend())
        return *found;
    const qint64 id = insert(m_contactTypes, {defaultName, kind, ++m_lastTypeSort, kind == PostalAddress, kind == PostalAddress ? 3 : 0});
    m_typesByKind.insert(kind, id);
    m_typesByName.insert(QString::number(kind) + QLatin1Char('|') + folded(defaultName), id);
    return id;
}

// Messaging addresses go to an internet type named by their scheme ("xmpp"), never to
// the kind's first type, which stays the web pages'.
qint64 ImportWork::messagingType(const QString &scheme)
{
    const QString name = scheme.trimmed().isEmpty() ? tr("Sporočila") : scheme.trimmed();
    const QString key = QString::number(Internet) + QLatin1Char('|') + folded(name);
    if (const auto found = m_typesByName.constFind(key); found != m_typesByName.cend())
        return *found;
    const qint64 id = insert(m_contactTypes, {name, int(Internet), ++m_lastTypeSort, false, 0});
    m_typesByName.insert(key, id);
    return id;
}

// A type named in a card of the program's own, whatever its kind; a new one of no kind.
qint64 ImportWork::namedContactType(const QString &name)
{
    const QString wanted = QLatin1Char('|') + folded(name);
    for (auto it = m_typesByName.cbegin(); it != m_typesByName.cend(); ++it) {
        if (it.key().endsWith(wanted) && it.key().indexOf(QLatin1Char('|')) == it.key().size() - wanted.size())
            return it.value();
    }
    const QString typeName = name.trimmed().isEmpty() ? tr("Drugo") : name.trimmed();
    const qint64 id = insert(m_contactTypes, {typeName, int(Unknown), ++m_lastTypeSort, false, 0});
    m_typesByName.insert(QString::number(Unknown) + QLatin1Char('|') + folded(typeName), id);
    return id;
}

qint64 ImportWork::category(const QString &name)
{
    if (const auto found = m_categoriesByName.constFind(folded(name)); found != m_categoriesByName.cend())
        return *found;
    const qint64 id = insert(m_categories, {name.trimmed()});
    m_categoriesByName.insert(folded(name), id);
    return id;
}

QVariantList ImportWork::personValues(const ContactCard &card, const QString &fullName)
{
    const auto orNull = [](const QString &text) { return text.trimmed().isEmpty() ? QVariant() : QVariant(text); };
    const CardAddress *address = card.Addresses.isEmpty() ? nullptr : &card.Addresses.first();
    QVariant countryId;
    QVariant regionId;
    QVariant placeId;
    QVariant street;
    if (address) {
        countryId = country(address->Country);
        regionId = region(address->Region, countryId);
        placeId = place(*address, countryId);
        QStringList lines;
        for (const QString &part : {address->PostOfficeBox, address->Extended, address->Street})
            if (!part.isEmpty())
                lines << part;
        street = orNull(lines.join(QLatin1Char('\n')));
    }
    QVariant birthday;
    if (!card.Birthday.isEmpty() && card.Birthday.hasYear()) {
        const QDate date(card.Birthday.Year, card.Birthday.Month, card.Birthday.Day);
        if (date.isValid())
            birthday = wallClock(date, QTime(0, 0));
        else
            m_summary.Notices.append({m_line, tr("Datum rojstva ni veljaven")});
    }
    const bool organisation = card.IsOrganisation;
    const qsizetype office = officeTelephone(card);
    return {orNull(card.Name.Prefix), orNull(card.Name.Given), orNull(card.Name.Additional), orNull(card.Name.Family),
            fullName, birthday, organisation, organisation ? QStringLiteral("True") : QStringLiteral("False"), street,
            placeId, regionId, countryId, organisation ? QVariant() : company(card.Organisation), orNull(card.Title),
            office < 0 ? QVariant() : QVariant(card.Telephones[office].Value)};
}

void ImportWork::addContact(qint64 person, qint64 type, const QString &value, QSet<QString> &have)
{
    if (value.trimmed().isEmpty() || have.contains(QString::number(type) + QLatin1Char('|') + value))
        return;
    have.insert(QString::number(type) + QLatin1Char('|') + value);
    insert(m_contacts, {person, type, value});
    ++m_summary.Contacts;
}

void ImportWork::addDetails(qint64 person, const ContactCard &card, const QSet<QString> &haveContacts)
{
    QSet<QString> have = haveContacts;
    const qsizetype office = officeTelephone(card);
    for (qsizetype i = 0; i < card.Telephones.size(); ++i) {
        const CardValue &telephone = card.Telephones[i];
        if (i == office)
            continue;
        const bool fax = telephone.Types.contains(QLatin1String("fax"));
        const bool mobile = !fax && telephone.Types.contains(QLatin1String("cell"));
        const int kind = fax ? Fax : mobile ? Mobile : Telephone;
        if (have.contains(QStringLiteral("#") + comparableTelephone(telephone.Value)))
            continue;
        const qint64 type = contactType(kind, telephone.Label, fax ? tr("Fax") : mobile ? tr("Mobilni telefon") : tr("Telefonska številka"));
        addContact(person, type, telephone.Value, have);
    }
    for (const CardValue &email : card.Emails) {
        if (!have.contains(QStringLiteral("@") + folded(email.Value)))
            addContact(person, contactType(Email, email.Label, tr("Elektronska pošta")), email.Value, have);
    }
    for (const CardValue &url : card.Urls)
        addContact(person, contactType(Internet, url.Label, tr("Spletna stran")), url.Value, have);
    for (const CardValue &impp : card.Impps)
        addContact(person, messagingType(impp.Value.section(QLatin1Char(':'), 0, 0)), impp.Value, have);
    for (qsizetype i = 1; i < card.Addresses.size(); ++i)
        addContact(person, contactType(PostalAddress, QString(), tr("Poštni naslov")), addressText(card.Addresses[i]), have);

    int sort = 0;
    for (const QString &note : card.Notes) {
        if (!note.trimmed().isEmpty())
            insert(m_notes, {person, note, m_now, ++sort});
    }
    QSet<qint64> memberships;
    for (const QString &name : card.Categories) {
        if (name.trimmed().isEmpty())
            continue;
        const qint64 id = category(name);
        if (!memberships.contains(id)) {
            memberships.insert(id);
            insert(m_memberships, {person, id});
        }
    }
    sort = 0;
    const auto addExtra = [&](const QString &field, const QString &value) {
        if (!value.trimmed().isEmpty())
            insert(m_extra, {person, field, value, ++sort});
    };
    if (!card.Department.isEmpty())
        addExtra(tr("Oddelek"), card.Department);
    if (!card.Birthday.isEmpty() && !card.Birthday.hasYear())
        addExtra(tr("Rojstni dan"), QStringLiteral("%1.%2.").arg(card.Birthday.Day, 2, 10, QLatin1Char('0')).arg(card.Birthday.Month, 2, 10, QLatin1Char('0')));
    for (const CardProperty &extra : card.Extra) {
        if (extra.Name.compare(QLatin1String(ContactProperty), Qt::CaseInsensitive) == 0) {
            const auto [typeName, value] = NamedValue(extra.Value);
            addContact(person, namedContactType(typeName), value, have);
            continue;
        }
        const auto [field, value] = ExtraFieldOfProperty(extra);
        addExtra(field, value);
    }
    m_summary.SkippedProperties += card.SkippedProperties;
}

void ImportWork::add(const ContactCard &card, const QString &fullName)
{
    m_line = card.Line;
    const qint64 person = insert(m_persons, personValues(card, fullName));
    const QString name = folded(fullName);
    m_nameOfPerson.insert(person, name);
    if (card.IsOrganisation && !m_companies.contains(name))
        m_companies.insert(name, person);
    addDetails(person, card, {});
    for (const QString &value : comparableContacts(card))
        know(person, name, value);
    ++m_summary.Persons;
}

// The card's values over the person's, where the card has them; what the person lacks of
// the card's contacts, notes, categories and extra data is added.
void ImportWork::update(qint64 person, const ContactCard &card, const QString &fullName)
{
    m_line = card.Line;
    static const QStringList columns{QStringLiteral("Naziv"),      QStringLiteral("Ime"),          QStringLiteral("SrednjeIme"),
                                     QStringLiteral("Priimek"),    QStringLiteral("CelotnoIme"),   QStringLiteral("DatumRojstva"),
                                     QStringLiteral("PravnaOseba"), QStringLiteral("Podjetje"),     QStringLiteral("Naslov"),
                                     QStringLiteral("IDKRAJ"),     QStringLiteral("IDPOK"),        QStringLiteral("IDDRZAVA"),
                                     QStringLiteral("IDPodjetja"), QStringLiteral("FunckijaVPodjetju"),
                                     QStringLiteral("TelVPodjetju")};
    const QVariantList values = personValues(card, fullName);
    const Schema::Table *table = Schema::table(u"TOsnovniPod");
    QStringList assignments;
    QVariantList bound;
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (values[i].isNull() || columns[i] == QLatin1String("PravnaOseba") || columns[i] == QLatin1String("Podjetje"))
            continue;
        assignments << columns[i] + QStringLiteral(" = ?");
        const Schema::Column &column = *table->column(columns[i]);
        QVariant value = values[i];
        if (column.type == Schema::Type::Text && column.size > 0)
            value = value.toString().left(column.size);
        bound << m_database.toDatabase(column, value);
    }
    if (!assignments.isEmpty()) {
        bound << person;
        m_database.runNative(QStringLiteral("UPDATE TOsnovniPod SET %1 WHERE ID = ?").arg(assignments.join(QStringLiteral(", "))), bound);
    }
    QSet<QString> have = m_personContacts.value(person);
    m_database.read(QStringLiteral("SELECT IDKontat, Value FROM TOsnovniPodVezaKontakt WHERE IDOsebe = :person"),
                    {{QStringLiteral("person"), person}}, [](const QStringList &) {},
                    [&have](const QVariant *v) { have.insert(v[0].toString() + QLatin1Char('|') + v[1].toString()); });
    ContactCard rest = card;
    // Notes, categories and extra data the person has already are not added twice.
    QSet<QString> notes;
    m_database.read(QStringLiteral("SELECT Value FROM TOsnovniPodVezaOpombe WHERE IDOsebe = :person"), {{QStringLiteral("person"), person}},
                    [](const QStringList &) {}, [&notes](const QVariant *v) { notes.insert(v[0].toString()); });
    rest.Notes.removeIf([&notes](const QString &note) { return notes.contains(note); });
    QSet<QString> categories;
    m_database.read(QStringLiteral("SELECT TKategorije.Naziv FROM TOsnovniPodVezaKategorje INNER JOIN TKategorije ON "
                                   "TOsnovniPodVezaKategorje.IDkat = TKategorije.IDkat WHERE TOsnovniPodVezaKategorje.IDOsebe = :person"),
                    {{QStringLiteral("person"), person}}, [](const QStringList &) {},
                    [&categories](const QVariant *v) { categories.insert(folded(v[0].toString())); });
    rest.Categories.removeIf([&categories](const QString &name) { return categories.contains(folded(name)); });
    QSet<QString> extra;
    m_database.read(QStringLiteral("SELECT Polje, Value FROM TOsnovniPodDodatno WHERE IDOsebe = :person"), {{QStringLiteral("person"), person}},
                    [](const QStringList &) {}, [&extra](const QVariant *v) { extra.insert(v[0].toString() + QLatin1Char('|') + v[1].toString()); });
    rest.Extra.removeIf([&extra](const CardProperty &p) {
        const auto [field, value] = ExtraFieldOfProperty(p);
        return extra.contains(field + QLatin1Char('|') + value);
    });
    rest.Department.clear();
    addDetails(person, rest, have);
    ++m_summary.Updated;
}

}

QString FullNameOf(const ContactCard &card)
{
    if (!card.FormattedName.trimmed().isEmpty())
        return card.FormattedName.trimmed();
    const QString composed = ComposeFullName(card.Name.Prefix, card.Name.Given, card.Name.Additional, card.Name.Family);
    return composed.isEmpty() ? card.Organisation.trimmed() : composed;
}

CardImport::CardImport(Database &database)
    : m_database(database)
{
}

CardImport::CardFeed CardImport::feedOf(const QList<ContactCard> &cards)
{
    return [&cards](const std::function<void(const ContactCard &)> &take) {
        for (const ContactCard &card : cards)
            take(card);
    };
}

ImportSummary CardImport::run(const QList<ContactCard> &cards, DuplicatePolicy policy, const std::function<bool(int)> &progress)
{
    return run(feedOf(cards), policy, progress);
}

ImportSummary CardImport::run(const CardFeed &feed, DuplicatePolicy policy, const std::function<bool(int)> &progress)
{
    ImportSummary summary;
    try {
        m_database.transaction([&] {
            ImportWork work(m_database, summary);
            int done = 0;
            feed([&](const ContactCard &card) {
                if (progress && done % 200 == 0 && !progress(done))
                    throw Cancelled();
                ++done;
                const QString fullName = FullNameOf(card);
                if (fullName.isEmpty()) {
                    ++summary.Skipped;
                    summary.Notices.append({card.Line, tr("kartica brez imena")});
                    return;
                }
                const std::optional<qint64> existing = policy == DuplicatePolicy::Add ? std::nullopt : work.duplicateOf(card, fullName);
                if (existing && policy == DuplicatePolicy::Skip) {
                    ++summary.Skipped;
                    summary.Notices.append({card.Line, tr("%1 je že v imeniku").arg(fullName)});
                } else if (existing) {
                    work.update(*existing, card, fullName);
                } else {
                    work.add(card, fullName);
                }
            });
            if (progress && !progress(done))
                throw Cancelled();
        });
    } catch (const Cancelled &) {
        summary = ImportSummary();
        summary.Cancelled = true;
    }
    return summary;
}

int CardImport::countDuplicates(const QList<ContactCard> &cards) const
{
    return countDuplicates(feedOf(cards));
}

int CardImport::countDuplicates(const CardFeed &feed) const
{
    ImportSummary unused;
    const ImportWork work(m_database, unused);
    int duplicates = 0;
    feed([&](const ContactCard &card) {
        const QString fullName = FullNameOf(card);
        if (!fullName.isEmpty() && work.duplicateOf(card, fullName))
            ++duplicates;
    });
    return duplicates;
}

QStringList CardImport::tablesWritten()
{
    return {QStringLiteral("TOsnovniPod"),      QStringLiteral("TOsnovniPodVezaKontakt"), QStringLiteral("TOsnovniPodVezaOpombe"),
            QStringLiteral("TOsnovniPodDodatno"), QStringLiteral("TOsnovniPodVezaKategorje"), QStringLiteral("TKategorije"),
            QStringLiteral("TKontakti"),        QStringLiteral("TKraj"),                  QStringLiteral("TPokrajina"),
            QStringLiteral("TDrzave")};
}
