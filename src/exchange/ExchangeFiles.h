#pragma once

#include "CardImport.h"
#include "ContactCard.h"

#include <QByteArray>
#include <QString>

// The exchange formats by file: a .csv file is CSV, anything else vCard.
enum class ExchangeFormat { VCard3, VCard4, Csv };

// A vCard or CSV file for an import: its cards handed out in turn (a vCard file read as
// it goes, so that a large one is never held as cards all at once), and what could not be
// read. A file that cannot be opened is one problem at line 0.
class CardFile
{
public:
    explicit CardFile(const QString &path);

    CardImport::CardFeed feed();
    // Known once the cards were handed out; a file that cannot be opened has its at once.
    const QList<CardProblem> &problems() const { return m_problems; }
    // How many cards the file holds, for a progress bar.
    qsizetype count() const;

private:
    bool m_csv = false;
    QByteArray m_bytes;
    QList<ContactCard> m_csvCards;
    QList<CardProblem> m_problems;
};

// The format a file name asks for: ".csv" CSV, otherwise vCard 3.0, which every address
// book reads.
ExchangeFormat FormatOfFileName(const QString &path);

// Writes the cards; false, with the reason, when the file cannot be written.
bool WriteExchangeFile(const QString &path, const QList<ContactCard> &cards, ExchangeFormat format, QString *reason);
