#pragma once

#include "ContactCard.h"

#include <QStringList>

#include <functional>

class Database;

// What becomes of a card whose person is there already: the same full name and one
// e-mail address or telephone number in common.
enum class DuplicatePolicy { Skip, Update, Add };

struct ImportSummary
{
    int Persons = 0;  // added
    int Updated = 0;
    int Contacts = 0; // added, to new and updated persons
    int Skipped = 0;  // cards not taken: duplicates skipped, cards without any name
    int SkippedProperties = 0;
    // Cards skipped and texts cut to their column, with the card's line.
    QList<CardProblem> Notices;
    bool Cancelled = false;
};

// Takes cards into the program's tables, all in one transaction: the person with the
// employer (found among the companies or added as one), the first address with its place,
// region and country (found or added to the code lists), further addresses, telephones,
// e-mail, web and messaging addresses as contacts of a type of the right kind, notes,
// categories and extra data.
class CardImport
{
public:
    // Hands each card to take in turn: cards read from a file as they come, so that a
    // large file is never held as cards all at once.
    using CardFeed = std::function<void(const std::function<void(const ContactCard &)> &take)>;

    explicit CardImport(Database &database);

    // progress is told how many cards are done; when it answers false the import stops
    // and nothing of it is kept.
    ImportSummary run(const CardFeed &feed, DuplicatePolicy policy, const std::function<bool(int)> &progress = {});
    ImportSummary run(const QList<ContactCard> &cards, DuplicatePolicy policy,
                      const std::function<bool(int)> &progress = {});

    // How many cards would find their person there already, for asking once.
    int countDuplicates(const CardFeed &feed) const;
    int countDuplicates(const QList<ContactCard> &cards) const;

    static CardFeed feedOf(const QList<ContactCard> &cards);

    // The tables an import writes, for telling the windows that show them.
    static QStringList tablesWritten();

private:
    Database &m_database;
};

// The full name a card gives its person: FN, else the name composed as the program
// composes it, else the organisation.
QString FullNameOf(const ContactCard &card);
