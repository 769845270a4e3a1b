#pragma once

#include "ContactCard.h"

#include <QString>

// The exchange formats by file: a .csv file is CSV, anything else vCard.
enum class ExchangeFormat { VCard3, VCard4, Csv };

// The cards of a file, with what could not be read; a file that cannot be opened is one
// problem at line 0.
ReadCards ReadExchangeFile(const QString &path);

// The format a file name asks for: ".csv" CSV, otherwise vCard 3.0, which every address
// book reads.
ExchangeFormat FormatOfFileName(const QString &path);

// Writes the cards; false, with the reason, when the file cannot be written.
bool WriteExchangeFile(const QString &path, const QList<ContactCard> &cards, ExchangeFormat format, QString *reason);
