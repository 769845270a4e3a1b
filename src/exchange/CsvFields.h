#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// What a CSV column holds, as the import maps it; the mapping window offers these.
enum class CardField {
    None, // not imported
    GivenName,
    AdditionalName,
    FamilyName,
    NamePrefix,
    NameSuffix,
    FullName,
    Nickname,
    Organisation,
    Department,
    JobTitle,
    EmailHome,
    EmailWork,
    EmailOther,
    PhoneMobile,
    PhoneHome,
    PhoneWork,
    PhoneFax,
    PhonePager,
    PhoneOther,
    WebPage,
    HomeStreet,
    HomePostOfficeBox,
    HomeLocality,
    HomeRegion,
    HomePostalCode,
    HomeCountry,
    WorkStreet,
    WorkPostOfficeBox,
    WorkLocality,
    WorkRegion,
    WorkPostalCode,
    WorkCountry,
    Birthday,
    BirthYear, // Thunderbird's birthday comes in three columns
    BirthMonth,
    BirthDay,
    Notes,
    Categories,
    // Google's "E-mail 1 - Type" beside "E-mail 1 - Value": the types of the columns whose
    // header begins the same way ("E-mail 1 - ").
    ValueTypes,
    Extra, // kept as extra data under the column's header
};

QList<CardField> AllCardFields();
QString CardFieldName(CardField field);

// One field for each header, matched without regard to case and surrounding blanks:
// Thunderbird's, Outlook's, Google's (both its layouts), our own Slovenian ones. A header
// known to carry nothing worth keeping (Outlook's "Priority") maps to None, an unknown
// one to Extra, so that nothing is lost.
QList<CardField> RecognizeHeaders(const QStringList &headers);
