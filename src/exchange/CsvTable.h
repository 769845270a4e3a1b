#pragma once

#include "ContactCard.h"

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QStringList>

// A CSV file as a table of text fields (RFC 4180, read leniently): decoded, split on
// the delimiter it uses, each row with the line it begins on.

enum class CsvEncoding { Utf8, Utf16LE, Utf16BE, Windows1250 };

struct CsvRow
{
    int Line = 0; // counted from 1; a field with line breaks makes the next row begin later
    QStringList Fields;
};

struct CsvTable
{
    QList<CsvRow> Rows;
    QList<CardProblem> Problems;
    QChar Delimiter = u',';
    CsvEncoding Encoding = CsvEncoding::Utf8;
};

// A row broken beyond repair (a quote left open to the end of the file) is reported at
// the line it begins on and left out; reading goes on at the line after that quote.
CsvTable ReadCsvTable(const QByteArray &bytes);

// UTF-8 with or without BOM, UTF-16 with BOM or recognised by its NUL bytes, otherwise
// Windows-1250. A BOM does not reach the text.
QString DecodeCsvText(const QByteArray &bytes, CsvEncoding *found = nullptr, bool *decodable = nullptr);

// Comma, semicolon or tab: the one that splits the first lines evenly, outside quotes.
QChar DetectCsvDelimiter(QStringView text);
