#include "CardExport.h"

#include "Database.h"
#include "ExchangeProperties.h"
#include "Schema.h"

#include <QDateTime>
#include <QHash>
#include <QSet>

namespace {

struct PlaceRow
{
    QString Name;
    QString Zip;
};

struct ContactTypeRow
{
    QString Name;
    int Kind = 0;
};

void read(const Database &database, const char *sql, const std::function<void(const QVariant *)> &row)
{
    database.read(QLatin1String(sql), {}, [](const QStringList &) {}, row);
}

QString text(const QVariant &value)
{
    return value.toString().trimmed();
}

CardDate dateOf(const Database &database, const QVariant &stored)
{
    if (stored.isNull())
        return {};
    static const Schema::Column *birth = Schema::table(u"TOsnovniPod")->column(u"DatumRojstva");
    // The date of the form the program writes is read as it stands: a moment made of
    // each would ask the time zone a hundred thousand times.
    QDate date = stored.typeId() == QMetaType::QString ? QDate::fromString(stored.toString().left(10), Qt::ISODate) : QDate();
    if (!date.isValid())
        date = database.fromDatabase(birth, stored).toDateTime().date();
    return date.isValid() ? CardDate{date.year(), date.month(), date.day()} : CardDate{};
}

// A contact by the kind of its type.
void addContact(ContactCard &card, const ContactTypeRow &type, const QString &value)
{
    switch (type.Kind) {
    case ContactKind::Email:
        card.Emails.append({value, {}, QString()});
        return;
    case ContactKind::Internet:
        // A messaging address keeps its scheme, and its type is named by it.
        if (value.startsWith(type.Name + QLatin1Char(':'), Qt::CaseInsensitive)
            && !value.startsWith(QLatin1String("http"), Qt::CaseInsensitive))
            card.Impps.append({value, {}, QString()});
        else
            card.Urls.append({value, {}, QString()});
        return;
    case ContactKind::Telephone:
        card.Telephones.append({value, {QStringLiteral("voice")}, QString()});
        return;
    case ContactKind::Mobile:
        card.Telephones.append({value, {QStringLiteral("cell")}, QString()});
        return;
    case ContactKind::Fax:
        card.Telephones.append({value, {QStringLiteral("fax")}, QString()});
        return;
    default:
        card.Extra.append({QString::fromLatin1(ContactProperty), type.Name + QStringLiteral(": ") + value});
    }
}

}

QList<ContactCard> ExportCards(const Database &database, const QList<qint64> &ids)
{
    return *ExportCards(database, ids, {});
}

std::optional<QList<ContactCard>> ExportCards(const Database &database, const QList<qint64> &ids,
                                              const std::function<bool(int done)> &progress)
{
    int step = 0;
    // Before each of the long reads.
    const auto goOn = [&progress, &step] { return !progress || progress(step++); };
    QHash<qint64, PlaceRow> places;
    read(database, "SELECT IDKRAJ, Naziv, Zip FROM TKraj", [&places](const QVariant *v) {
        places.insert(v[0].toLongLong(), {text(v[1]), text(v[2])});
    });
    QHash<qint64, QString> regions;
    read(database, "SELECT IDPOK, Naziv FROM TPokrajina", [&regions](const QVariant *v) { regions.insert(v[0].toLongLong(), text(v[1])); });
    QHash<qint64, QString> countries;
    read(database, "SELECT IDDRZAVE, Naziv FROM TDrzave", [&countries](const QVariant *v) { countries.insert(v[0].toLongLong(), text(v[1])); });
    QHash<qint64, ContactTypeRow> types;
    read(database, "SELECT ID, Naziv, Vrsta FROM TKontakti", [&types](const QVariant *v) {
        types.insert(v[0].toLongLong(), {text(v[1]), v[2].toInt()});
    });

    QHash<qint64, QString> names;
    QHash<qint64, qsizetype> index;
    QList<ContactCard> cards;
    QList<qint64> employers;
    const QSet<qint64> wanted(ids.cbegin(), ids.cend());
    if (!goOn())
        return std::nullopt;
    read(database,
         "SELECT ID, Naziv, Ime, SrednjeIme, Priimek, CelotnoIme, DatumRojstva, PravnaOseba, Podjetje, Naslov, IDKRAJ, IDPOK, "
         "IDDRZAVA, IDPodjetja, FunckijaVPodjetju, TelVPodjetju FROM TOsnovniPod ORDER BY ID",
         [&](const QVariant *v) {
             const qint64 id = v[0].toLongLong();
             names.insert(id, text(v[5]));
             if (!wanted.isEmpty() && !wanted.contains(id))
                 return;
             ContactCard card;
             card.Name = {text(v[4]), text(v[2]), text(v[3]), text(v[1]), QString()};
             card.FormattedName = text(v[5]);
             card.IsOrganisation = v[8].toString() == QLatin1String("True");
             if (card.IsOrganisation)
                 card.Organisation = card.FormattedName;
             card.Birthday = dateOf(database, v[6]);
             const QString street = v[9].toString().trimmed();
             const PlaceRow place = places.value(v[10].toLongLong());
             const QString region = regions.value(v[11].toLongLong());
             const QString country = countries.value(v[12].toLongLong());
             if (!street.isEmpty() || !place.Name.isEmpty() || !region.isEmpty() || !country.isEmpty())
                 card.Addresses.append({QString(), QString(), street, place.Name, region, place.Zip, country, {}, QString()});
             card.Title = text(v[14]);
             if (!text(v[15]).isEmpty())
                 card.Telephones.append({text(v[15]), {QStringLiteral("work")}, QString()});
             index.insert(id, cards.size());
             employers.append(v[13].isNull() ? 0 : v[13].toLongLong());
             cards.append(card);
         });
    for (qsizetype i = 0; i < cards.size(); ++i) {
        if (employers[i] != 0 && !cards[i].IsOrganisation)
            cards[i].Organisation = names.value(employers[i]);
    }

    const auto forPerson = [&index, &cards](const QVariant &person) -> ContactCard * {
        const auto found = index.constFind(person.toLongLong());
        return found == index.cend() ? nullptr : &cards[*found];
    };
    if (!goOn())
        return std::nullopt;
    // In the table's own order, which keeps each person's contacts in theirs and needs no sort.
    read(database, "SELECT IDOsebe, IDKontat, Value FROM TOsnovniPodVezaKontakt ORDER BY ID", [&](const QVariant *v) {
        if (ContactCard *card = forPerson(v[0]); card && !text(v[2]).isEmpty())
            addContact(*card, types.value(v[1].toLongLong()), text(v[2]));
    });
    if (!goOn())
        return std::nullopt;
    read(database, "SELECT IDOsebe, Value FROM TOsnovniPodVezaOpombe ORDER BY IDOsebe, Sort, ID", [&](const QVariant *v) {
        if (ContactCard *card = forPerson(v[0]); card && !text(v[1]).isEmpty())
            card->Notes.append(v[1].toString());
    });
    if (!goOn())
        return std::nullopt;
    read(database,
         "SELECT TOsnovniPodVezaKategorje.IDOsebe, TKategorije.Naziv FROM TOsnovniPodVezaKategorje INNER JOIN TKategorije ON "
         "TOsnovniPodVezaKategorje.IDkat = TKategorije.IDkat ORDER BY TOsnovniPodVezaKategorje.IDOsebe, TKategorije.Naziv",
         [&](const QVariant *v) {
             if (ContactCard *card = forPerson(v[0]))
                 card->Categories.append(text(v[1]));
         });
    if (!goOn())
        return std::nullopt;
    read(database, "SELECT IDOsebe, Polje, Value FROM TOsnovniPodDodatno ORDER BY IDOsebe, Sort, ID", [&](const QVariant *v) {
        if (ContactCard *card = forPerson(v[0]); card && !v[2].toString().isEmpty())
            card->Extra.append(PropertyOfExtraField(text(v[1]), v[2].toString()));
    });

    if (wanted.isEmpty())
        return cards;
    QList<ContactCard> ordered;
    ordered.reserve(cards.size());
    QSet<qint64> done;
    for (const qint64 id : ids) {
        if (const auto found = index.constFind(id); found != index.cend() && !done.contains(id)) {
            done.insert(id);
            ordered.append(cards[*found]);
        }
    }
    return ordered;
}
