#include "ExchangeCommands.h"

#include "CardExport.h"
#include "CardImport.h"
#include "ChangeStamps.h"
#include "Database.h"
#include "DatabaseError.h"
#include "ExchangeFiles.h"

#include <QTextStream>

#include <memory>
#include <optional>
#include <vector>

namespace {

// The value of an option "--name value" and the arguments without it; nothing when the
// option is there without a value.
std::optional<QString> takeOption(QStringList &arguments, const QString &name, const QString &fallback)
{
    const qsizetype at = arguments.indexOf(name);
    if (at < 0)
        return fallback;
    if (at + 1 >= arguments.size())
        return std::nullopt;
    const QString value = arguments.at(at + 1);
    arguments.remove(at, 2);
    return value;
}

}

int RunImportCommand(const QStringList &given, QTextStream &out, QTextStream &err)
{
    QStringList arguments = given;
    const std::optional<QString> duplicates = takeOption(arguments, QStringLiteral("--on-duplicate"), QStringLiteral("skip"));
    const QStringList policies{QStringLiteral("skip"), QStringLiteral("update"), QStringLiteral("add")};
    if (!duplicates || !policies.contains(*duplicates) || arguments.size() < 2) {
        err << "usage: veldra-dbtool import DATABASE FILE... [--on-duplicate skip|update|add]\n";
        return 2;
    }
    const DuplicatePolicy policy = DuplicatePolicy(policies.indexOf(*duplicates));
    // The files one after the other into one import, each read as it goes.
    std::vector<std::unique_ptr<CardFile>> files;
    for (const QString &file : arguments.mid(1))
        files.push_back(std::make_unique<CardFile>(file));
    const CardImport::CardFeed everyFile = [&files](const std::function<void(const ContactCard &)> &take) {
        for (const auto &file : files)
            file->feed()(take);
    };
    try {
        Database database(DatabaseLocation::named(arguments.first()));
        const ImportSummary summary = CardImport(database).run(everyFile, policy);
        // Running workstations read the changed tables again.
        for (const QString &table : CardImport::tablesWritten())
            StampTableChange(database, table);
        bool refused = false;
        for (size_t i = 0; i < files.size(); ++i) {
            for (const CardProblem &problem : files[i]->problems())
                out << arguments.at(qsizetype(i) + 1) << ":" << problem.Line << ": " << problem.Reason << "\n";
            refused = refused || !files[i]->problems().isEmpty();
        }
        for (const CardProblem &notice : summary.Notices)
            out << "line " << notice.Line << ": " << notice.Reason << "\n";
        out << "imported " << summary.Persons << " persons, " << summary.Contacts << " contacts, skipped " << summary.Skipped;
        if (summary.Updated > 0)
            out << ", updated " << summary.Updated;
        out << "\n";
        return refused ? 1 : 0;
    } catch (const DatabaseError &error) {
        err << error.message() << "\n";
        if (!error.driverText().isEmpty())
            err << error.driverText() << "\n";
        return 1;
    }
}

int RunExportCommand(const QStringList &given, QTextStream &out, QTextStream &err)
{
    QStringList arguments = given;
    const std::optional<QString> format = takeOption(arguments, QStringLiteral("--format"), QString());
    const QStringList formats{QStringLiteral("vcard3"), QStringLiteral("vcard4"), QStringLiteral("csv")};
    if (!format || (!format->isEmpty() && !formats.contains(*format)) || arguments.size() != 2) {
        err << "usage: veldra-dbtool export DATABASE FILE [--format vcard3|vcard4|csv]\n";
        return 2;
    }
    const QString &file = arguments.at(1);
    const ExchangeFormat chosen = format->isEmpty() ? FormatOfFileName(file) : ExchangeFormat(formats.indexOf(*format));
    try {
        const Database database(DatabaseLocation::named(arguments.first()));
        const QList<ContactCard> cards = ExportCards(database);
        QString reason;
        if (!WriteExchangeFile(file, cards, chosen, &reason)) {
            err << "cannot write " << file << ": " << reason << "\n";
            return 1;
        }
        out << "exported " << cards.size() << " persons\n";
    } catch (const DatabaseError &error) {
        err << error.message() << "\n";
        return 1;
    }
    return 0;
}
