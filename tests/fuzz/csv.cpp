// The CSV reader on any file: the table, the cards of its rows with the header mapping,
// the dates of every field; the cards written as CSV read again, one for one.

#include "CsvFormat.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const CsvTable table = ReadCsvTable(file);
    for (const CsvRow &row : table.Rows)
        for (const QString &field : row.Fields)
            ParseSpreadsheetDate(field);
    const ReadCards read = ReadCsv(file);
    const ReadCards again = ReadCsv(WriteCsv(read.Cards));
    Fuzz::check(again.Cards.size() == read.Cards.size(), "every written row is read",
                QStringLiteral("%1 of %2 %3").arg(again.Cards.size()).arg(read.Cards.size())
                    .arg(again.Problems.isEmpty() ? QString() : again.Problems.first().Reason));
    return 0;
}
