#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A person or company as address books exchange them, between the file formats (vCard,
// CSV) and the database: the formats read into it and write from it, the import and the
// export map it to and from the program's tables. Texts are decoded, unescaped and
// trimmed; what a format does not carry stays empty.

struct CardName
{
    QString Family;
    QString Given;
    QString Additional; // middle names, joined by a blank
    QString Prefix;     // "mag.", "dr."
    QString Suffix;
};

// A date that may lack its year (vCard 4.0 "--0506"); 0 stands for a missing part.
struct CardDate
{
    int Year = 0;
    int Month = 0;
    int Day = 0;

    bool isEmpty() const { return Month == 0 || Day == 0; }
    bool hasYear() const { return Year != 0; }
};

struct CardAddress
{
    QString PostOfficeBox;
    QString Extended;
    QString Street;
    QString Locality;
    QString Region;
    QString PostalCode;
    QString Country;
    QStringList Types; // lower case: "home", "work", ...
    QString Label;     // the name a program gave it (iPhone's and Gmail's X-ABLabel)
};

// A telephone number, e-mail or web address, or instant-messaging address, with its
// types in lower case ("cell", "fax", "work", "pref", ...) and the label a program gave
// it (iPhone's X-ABLabel, Gmail's custom types).
struct CardValue
{
    QString Value;
    QStringList Types;
    QString Label;
};

// A property kept as extra data: its name as the file gives it ("NICKNAME", "ROLE",
// "X-ANDROID-CUSTOM") and its value.
struct CardProperty
{
    QString Name;
    QString Value;
};

struct ContactCard
{
    // Where the card begins in its file (line, counted from 1; a CSV row's first line).
    int Line = 0;

    CardName Name;
    QString FormattedName; // FN
    bool IsOrganisation = false; // KIND:org, X-ABShowAs:COMPANY, or a company row
    QString Organisation;  // ORG's first component
    QString Department;    // ORG's further components, joined by ", "
    QString Title;         // TITLE
    QList<CardAddress> Addresses;
    QList<CardValue> Telephones;
    QList<CardValue> Emails;
    QList<CardValue> Urls;
    QList<CardValue> Impps; // the address with its scheme: "xmpp:ana@example.org"
    CardDate Birthday;
    QStringList Notes;
    QStringList Categories;
    QList<CardProperty> Extra;
    // Properties read but kept nowhere (PHOTO, LOGO, SOUND, KEY, what is unknown and not
    // an X- property worth keeping): counted, never fetched.
    int SkippedProperties = 0;
};

// A card or row that could not be read, reported with where it begins and why.
struct CardProblem
{
    int Line = 0;
    QString Reason;
};

struct ReadCards
{
    QList<ContactCard> Cards;
    QList<CardProblem> Problems;
};
