#include "CsvFields.h"

#include <QHash>
#include <QRegularExpression>

namespace {

struct FieldName
{
    CardField Field;
    const char16_t *Name;
};

// The order the mapping window lists them in.
constexpr FieldName FieldNames[] = {
    {CardField::None, u"(ne uvozi)"},
    {CardField::NamePrefix, u"Naziv"},
    {CardField::GivenName, u"Ime"},
    {CardField::AdditionalName, u"Srednje ime"},
    {CardField::FamilyName, u"Priimek"},
    {CardField::NameSuffix, u"Pripona imena"},
    {CardField::FullName, u"Celotno ime"},
    {CardField::Nickname, u"Vzdevek"},
    {CardField::Organisation, u"Podjetje"},
    {CardField::Department, u"Oddelek"},
    {CardField::JobTitle, u"Funkcija"},
    {CardField::EmailOther, u"E-pošta"},
    {CardField::EmailHome, u"E-pošta (doma)"},
    {CardField::EmailWork, u"E-pošta (služba)"},
    {CardField::PhoneMobile, u"Mobilni telefon"},
    {CardField::PhoneOther, u"Telefonska številka"},
    {CardField::PhoneHome, u"Telefon (doma)"},
    {CardField::PhoneWork, u"Telefon (služba)"},
    {CardField::PhoneFax, u"Fax"},
    {CardField::PhonePager, u"Pozivnik"},
    {CardField::WebPage, u"Spletna stran"},
    {CardField::HomeStreet, u"Ulica"},
    {CardField::HomePostOfficeBox, u"Poštni predal"},
    {CardField::HomePostalCode, u"Poštna številka"},
    {CardField::HomeLocality, u"Kraj"},
    {CardField::HomeRegion, u"Pokrajina"},
    {CardField::HomeCountry, u"Država"},
    {CardField::WorkStreet, u"Ulica (služba)"},
    {CardField::WorkPostOfficeBox, u"Poštni predal (služba)"},
    {CardField::WorkPostalCode, u"Poštna številka (služba)"},
    {CardField::WorkLocality, u"Kraj (služba)"},
    {CardField::WorkRegion, u"Pokrajina (služba)"},
    {CardField::WorkCountry, u"Država (služba)"},
    {CardField::Birthday, u"Datum rojstva"},
    {CardField::BirthDay, u"Dan rojstva"},
    {CardField::BirthMonth, u"Mesec rojstva"},
    {CardField::BirthYear, u"Leto rojstva"},
    {CardField::Notes, u"Opomba"},
    {CardField::Categories, u"Kategorije"},
    {CardField::ValueTypes, u"Vrsta podatka"},
    {CardField::Extra, u"Dodatni podatek"},
};

// Headers of the common exports, in lower case. What they do not name is extra data.
constexpr FieldName KnownHeaders[] = {
    // Thunderbird
    {CardField::GivenName, u"first name"},
    {CardField::FamilyName, u"last name"},
    {CardField::FullName, u"display name"},
    {CardField::Nickname, u"nickname"},
    {CardField::EmailOther, u"primary email"},
    {CardField::EmailOther, u"secondary email"},
    {CardField::PhoneWork, u"work phone"},
    {CardField::PhoneHome, u"home phone"},
    {CardField::PhoneFax, u"fax number"},
    {CardField::PhonePager, u"pager number"},
    {CardField::PhoneMobile, u"mobile number"},
    {CardField::HomeStreet, u"home address"},
    {CardField::HomeStreet, u"home address 2"},
    {CardField::HomeLocality, u"home city"},
    {CardField::HomeRegion, u"home state"},
    {CardField::HomePostalCode, u"home zipcode"},
    {CardField::HomeCountry, u"home country"},
    {CardField::WorkStreet, u"work address"},
    {CardField::WorkStreet, u"work address 2"},
    {CardField::WorkLocality, u"work city"},
    {CardField::WorkRegion, u"work state"},
    {CardField::WorkPostalCode, u"work zipcode"},
    {CardField::WorkCountry, u"work country"},
    {CardField::JobTitle, u"job title"},
    {CardField::Department, u"department"},
    {CardField::Organisation, u"organization"},
    {CardField::WebPage, u"web page 1"},
    {CardField::WebPage, u"web page 2"},
    {CardField::BirthYear, u"birth year"},
    {CardField::BirthMonth, u"birth month"},
    {CardField::BirthDay, u"birth day"},
    {CardField::Notes, u"notes"},
    // Outlook
    {CardField::NamePrefix, u"title"},
    {CardField::AdditionalName, u"middle name"},
    {CardField::NameSuffix, u"suffix"},
    {CardField::Organisation, u"company"},
    {CardField::WorkStreet, u"business street"},
    {CardField::WorkStreet, u"business street 2"},
    {CardField::WorkStreet, u"business street 3"},
    {CardField::WorkLocality, u"business city"},
    {CardField::WorkRegion, u"business state"},
    {CardField::WorkPostalCode, u"business postal code"},
    {CardField::WorkCountry, u"business country/region"},
    {CardField::HomeStreet, u"home street"},
    {CardField::HomeStreet, u"home street 2"},
    {CardField::HomeStreet, u"home street 3"},
    {CardField::HomeLocality, u"home city"},
    {CardField::HomeRegion, u"home state"},
    {CardField::HomePostalCode, u"home postal code"},
    {CardField::HomeCountry, u"home country/region"},
    {CardField::HomePostOfficeBox, u"home address po box"},
    {CardField::WorkPostOfficeBox, u"business address po box"},
    {CardField::PhoneWork, u"business phone"},
    {CardField::PhoneWork, u"business phone 2"},
    {CardField::PhoneHome, u"home phone 2"},
    {CardField::PhoneMobile, u"mobile phone"},
    {CardField::PhoneFax, u"business fax"},
    {CardField::PhoneFax, u"home fax"},
    {CardField::PhoneFax, u"other fax"},
    {CardField::PhonePager, u"pager"},
    {CardField::PhoneOther, u"other phone"},
    {CardField::PhoneOther, u"primary phone"},
    {CardField::EmailOther, u"e-mail address"},
    {CardField::EmailOther, u"e-mail 2 address"},
    {CardField::EmailOther, u"e-mail 3 address"},
    {CardField::WebPage, u"web page"},
    {CardField::Birthday, u"birthday"},
    {CardField::Categories, u"categories"},
    // Outlook's bookkeeping: the address type again, or defaults written for everyone.
    {CardField::None, u"e-mail type"},
    {CardField::None, u"e-mail display name"},
    {CardField::None, u"e-mail 2 type"},
    {CardField::None, u"e-mail 2 display name"},
    {CardField::None, u"e-mail 3 type"},
    {CardField::None, u"e-mail 3 display name"},
    {CardField::None, u"gender"},
    {CardField::None, u"priority"},
    {CardField::None, u"sensitivity"},
    {CardField::None, u"private"},
    // Google, the older layout and the newer one
    {CardField::FullName, u"name"},
    {CardField::GivenName, u"given name"},
    {CardField::AdditionalName, u"additional name"},
    {CardField::FamilyName, u"family name"},
    {CardField::NamePrefix, u"name prefix"},
    {CardField::NameSuffix, u"name suffix"},
    {CardField::Categories, u"group membership"},
    {CardField::FullName, u"file as"},
    {CardField::Organisation, u"organization name"},
    {CardField::JobTitle, u"organization title"},
    {CardField::Department, u"organization department"},
    {CardField::Categories, u"labels"},
    {CardField::None, u"photo"}, // an address on Google's servers, never fetched
    // As people name their own columns
    {CardField::HomeStreet, u"naslov"},
    {CardField::HomeLocality, u"pošta"},
    {CardField::PhoneOther, u"telefon"},
    {CardField::PhoneMobile, u"gsm"},
    {CardField::PhoneMobile, u"mobitel"},
    {CardField::EmailOther, u"e-mail"},
    {CardField::EmailOther, u"email"},
    {CardField::EmailOther, u"elektronska pošta"},
    {CardField::Organisation, u"firma"},
    {CardField::Notes, u"opombe"},
    {CardField::Birthday, u"rojstni dan"},
    {CardField::Categories, u"kategorija"},
    {CardField::Categories, u"skupina"},
};

QString normalised(const QString &header)
{
    return header.simplified().toLower();
}

const QHash<QString, CardField> &headerFields()
{
    static const QHash<QString, CardField> fields = [] {
        QHash<QString, CardField> byHeader;
        for (const FieldName &known : KnownHeaders)
            byHeader.insert(QString::fromUtf16(known.Name), known.Field);
        // Our own export writes the display names; they win over the rest.
        for (const FieldName &own : FieldNames)
            byHeader.insert(normalised(QString::fromUtf16(own.Name)), own.Field);
        return byHeader;
    }();
    return fields;
}

// Google's numbered groups: "E-mail 2 - Value", "Address 1 - Postal Code".
CardField googleGroupField(const QString &kind, const QString &part)
{
    if (part == u"type" || part == u"label")
        return kind == u"organization" ? CardField::None : CardField::ValueTypes;
    static const QHash<QString, CardField> parts = {
        {QStringLiteral("e-mail value"), CardField::EmailOther},
        {QStringLiteral("phone value"), CardField::PhoneOther},
        {QStringLiteral("website value"), CardField::WebPage},
        {QStringLiteral("address street"), CardField::HomeStreet},
        {QStringLiteral("address extended address"), CardField::HomeStreet},
        {QStringLiteral("address po box"), CardField::HomePostOfficeBox},
        {QStringLiteral("address city"), CardField::HomeLocality},
        {QStringLiteral("address region"), CardField::HomeRegion},
        {QStringLiteral("address postal code"), CardField::HomePostalCode},
        {QStringLiteral("address country"), CardField::HomeCountry},
        {QStringLiteral("address formatted"), CardField::None}, // the parts once more
        {QStringLiteral("organization name"), CardField::Organisation},
        {QStringLiteral("organization title"), CardField::JobTitle},
        {QStringLiteral("organization department"), CardField::Department},
    };
    return parts.value(kind + u' ' + part, CardField::Extra);
}

CardField recognizeHeader(const QString &header)
{
    const QString key = normalised(header);
    if (key.isEmpty())
        return CardField::None; // Thunderbird ends every line with a delimiter
    if (const auto known = headerFields().constFind(key); known != headerFields().constEnd())
        return *known;
    static const QRegularExpression numbered(QStringLiteral("^(.+) \\d+ - (.+)$"));
    if (const auto match = numbered.match(key); match.hasMatch())
        return googleGroupField(match.captured(1), match.captured(2));
    return CardField::Extra;
}

}

QList<CardField> AllCardFields()
{
    QList<CardField> fields;
    for (const FieldName &name : FieldNames)
        fields.append(name.Field);
    return fields;
}

QString CardFieldName(CardField field)
{
    for (const FieldName &name : FieldNames)
        if (name.Field == field)
            return QString::fromUtf16(name.Name);
    return {};
}

QList<CardField> RecognizeHeaders(const QStringList &headers)
{
    QList<CardField> fields;
    fields.reserve(headers.size());
    for (const QString &header : headers)
        fields.append(recognizeHeader(header));
    return fields;
}
