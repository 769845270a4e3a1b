// Speed and memory of the data layer on generated data:
//   veldra-bench [COUNT,COUNT,...]     (default 10000,100000)
// For each count: the time to generate the persons, to open the browse list of the
// full-name search and the full person query, and the memory each of them holds.

#include "BenchSupport.h"
#include "Database.h"
#include "Dataset.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>
#include <memory>

namespace {

const QString browseStatement = QStringLiteral(
    "SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPod.CelotnoIme, TOsnovniPod.Sifra FROM TOsnovniPod LEFT JOIN "
    "TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe WHERE (((CelotnoIme) Is Not Null)) "
    "ORDER BY TOsnovniPod.CelotnoIme;");
const QString personStatement = QStringLiteral("SELECT *\nFROM TOsnovniPod\nORDER BY (CelotnoIme);");

void measureOpen(const Database &database, const QString &statement, const char *timeFigure, const char *memoryFigure, int persons)
{
    auto dataset = std::make_unique<Dataset>(const_cast<Database *>(&database), statement);
    Bench::print(timeFigure, persons, Bench::medianMs(3, [&] { dataset->open(); }, [&] { dataset->close(); malloc_trim(0); }), "ms");
    dataset->close();
    malloc_trim(0);
    const double before = Bench::residentMegabytes();
    dataset->open();
    Bench::print(memoryFigure, persons, Bench::residentMegabytes() - before, "MB");
}

}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QList<int> counts = Bench::personCounts(argc, argv, {10000, 100000});
    for (const int persons : counts) {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("Veldra_be.mdb"));
        Bench::generatedDatabase(file, persons);
        Database database(DatabaseLocation::sqliteFile(file));
        measureOpen(database, browseStatement, "open_browse", "mem_browse", persons);
        measureOpen(database, personStatement, "open_persons", "mem_persons", persons);
    }
    return 0;
}
