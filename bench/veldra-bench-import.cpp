// Speed of the import of the Windows program's database:
//   veldra-bench-import [COUNT,COUNT,...]     (default 100000)
// The largest Jet sample of the tests (by size) read in full, and imported onto a few of our tables
// into a new file. Then, for each count, generated persons with their sub-records in an
// SQLite file imported into a new one through the same writer; the reading alone is timed
// too, so that the writer's share shows.

#include "BenchSupport.h"
#include "Database.h"
#include "DatabaseImport.h"
#include "DatabaseTables.h"
#include "JetFile.h"
#include "JetImport.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

// Every value of every table, converted as for an import and not written; the rows read.
qint64 readAll(const TableSource &source)
{
    qint64 rows = 0;
    for (const QString &table : source.tables())
        source.read(table, source.columns(table), [&rows](const QVariant *) { ++rows; });
    return rows;
}

qint64 rowsOf(const DatabaseImport::Report &report)
{
    qint64 rows = 0;
    for (const DatabaseImport::TableReport &table : report.tables)
        rows += table.rows;
    return rows;
}

// The sample holds only a few rows: opening the file and reading its tables' definitions
// weigh most in its figures.
void benchJetSample(const QTemporaryDir &dir)
{
    qint64 rows = 0;
    const double readMs = Bench::medianMs(21, [&] {
        const JetFile jet(QStringLiteral(JET_SAMPLE));
        rows = readAll(jet);
    });
    Bench::print("jet_read_file", 0, readMs, "ms");
    Bench::print("jet_read_rows_per_second", 0, double(rows) * 1000.0 / readMs, "rows/s");
    const DatabaseImport::Mapping mapping{
        {QStringLiteral("Table1"), QStringLiteral("TOsnovniPod"), {{"A", "Ime"}, {"B", "Priimek"}, {"G", "DatumRojstva"}, {"I", "PravnaOseba"}}},
        {QStringLiteral("Table1"), QStringLiteral("TMaticniPodaci"), {{"E", "IDFirma"}, {"A", "Naziv"}, {"H", "OsnovniKapital"}}}};
    qint64 imported = 0;
    const double ms = Bench::elapsedMs([&] {
        imported = rowsOf(JetImport::run(QStringLiteral(JET_SAMPLE), DatabaseLocation::sqliteFile(dir.filePath(QStringLiteral("jet.mdb"))), mapping));
    });
    Bench::print("jet_import", 0, ms, "ms");
    Bench::print("jet_import_rows_per_second", 0, double(imported) * 1000.0 / ms, "rows/s");
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QList<int> counts = Bench::personCounts(argc, argv, {100000});
    QTemporaryDir dir;
    benchJetSample(dir);
    for (const int persons : counts) {
        const QString file = dir.filePath(QStringLiteral("source-%1.mdb").arg(persons));
        Bench::generatedDatabase(file, persons);
        const Database source(DatabaseLocation::sqliteFile(file));
        const DatabaseTables tables(source);
        qint64 rows = 0;
        const double readMs = Bench::elapsedMs([&] { rows = readAll(tables); });
        Database target(DatabaseLocation::sqliteFile(dir.filePath(QStringLiteral("target-%1.mdb").arg(persons))), Database::Purpose::Install);
        qint64 imported = 0;
        const double totalMs =
            Bench::elapsedMs([&] { imported = rowsOf(DatabaseImport::run(tables, DatabaseImport::sameNames(tables), target)); });
        Bench::print("import_read", persons, readMs, "ms");
        Bench::print("import_total", persons, totalMs, "ms");
        Bench::print("import_writer", persons, totalMs - readMs, "ms");
        Bench::print("import_rows", persons, double(imported), "rows");
        Bench::print("import_rows_per_second", persons, double(imported) * 1000.0 / totalMs, "rows/s");
        if (imported != rows)
            Bench::print("import_rows_missing", persons, double(rows - imported), "rows");
    }
    return 0;
}
