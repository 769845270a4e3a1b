// The reader of the Windows program's database on any file: its tables, their columns
// and every row's values, as the import reads them.

#include "DatabaseError.h"
#include "FuzzSupport.h"
#include "JetFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    const QString path = Fuzz::writeFile(QStringLiteral("Veldra_be.mdb"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    try {
        const JetFile file(path);
        for (const QString &table : file.tables()) {
            const QStringList columns = file.columns(table);
            qint64 rows = 0;
            file.read(table, columns, [&rows](const QVariant *) { ++rows; });
        }
    } catch (const DatabaseError &) {
        // A damaged file is refused with a message; that is what it should do.
    }
    return 0;
}
