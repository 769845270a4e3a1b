#pragma once

#include "ContactCard.h"
#include "CsvFields.h"
#include "CsvTable.h"

#include <QByteArray>

// CSV files of contacts: rows read into cards by a mapping of their columns, and cards
// written in Google's CSV layout.

// One card for each row with something in a mapped column; empty rows are passed over
// without a word. Columns past the mapping are not read. With a header row, the header
// names extra data and ties Google's type columns to their values. A row with more
// filled fields than the first row has is reported and left out. The table's own
// problems come along, everything ordered by line.
ReadCards CardsFromTable(const CsvTable &table, const QList<CardField> &mapping, bool firstRowIsHeader);

// A file read with its first row as the header, mapped as RecognizeHeaders sees it.
ReadCards ReadCsv(const QByteArray &bytes);

// Dates as spreadsheets and exports write them: "6.5.1980" and "6. 5." (day first, as
// in Slovenia), "1980-05-06", "19800506", "--05-06", and "5/6/1980" month first as
// Outlook's English exports write it. Empty for anything else, and for Outlook's
// "0/0/00" that stands for no date.
CardDate ParseSpreadsheetDate(const QString &text);

// Google's CSV layout, English headers; UTF-8 with BOM, commas, CRLF.
QByteArray WriteCsv(const QList<ContactCard> &cards);
