// Adds generated persons to a Veldra database:
//   veldra-gendata FILE|postgresql://... COUNT [SEED]

#include "DataGenerator.h"
#include "Database.h"
#include "DatabaseError.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    QTextStream err(stderr);
    bool ok = false;
    const int count = args.value(1).toInt(&ok);
    if (args.size() < 2 || !ok || count < 0) {
        err << "usage: veldra-gendata FILE|postgresql://... COUNT [SEED]\n";
        return 2;
    }
    try {
        Database database(DatabaseLocation::named(args[0]));
        DataGenerator::addPersons(database, count, args.value(2, QStringLiteral("1")).toUInt());
    } catch (const DatabaseError &error) {
        err << error.what() << "\n";
        return 1;
    }
    return 0;
}
