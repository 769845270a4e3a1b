#include "JetConversion.h"

#include "ConverterProcess.h"
#include "Database.h"
#include "DatabaseError.h"
#include "JetConversionDialog.h"
#include "VeldraApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstdio>
#include <unistd.h>

namespace JetConversion {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("JetConversion", text);
}

// A new name for the same file (a copy where the folder takes no second name), so that
// the database stands under its own name at every moment.
void keepAside(const QString &file, const QString &keptAside)
{
    const bool linked = ::link(QFile::encodeName(file).constData(), QFile::encodeName(keptAside).constData()) == 0;
    if (!linked && !QFile::copy(file, keptAside))
        throw DatabaseError(tr("Datoteke %1 ni mogoče shraniti kot %2.").arg(file, keptAside));
    if (QFileInfo(keptAside).size() != QFileInfo(file).size()) {
        QFile::remove(keptAside);
        throw DatabaseError(tr("Datoteke %1 ni mogoče shraniti kot %2.").arg(file, keptAside));
    }
}

// The converted file takes the place of the Jet file in one step.
void replace(const QString &converted, const QString &file, const QString &keptAside)
{
    if (std::rename(QFile::encodeName(converted).constData(), QFile::encodeName(file).constData()) != 0) {
        QFile::remove(keptAside);
        throw DatabaseError(tr("Datoteke %1 ni mogoče zamenjati s pretvorjeno.").arg(file));
    }
}

// What a user calls the tables that hold their data; the others by their names alone.
QString shownName(const QString &table)
{
    static const QHash<QString, const char *> names{
        {QStringLiteral("TOsnovniPod"), QT_TRANSLATE_NOOP("JetConversion", "Osebe in podjetja")},
        {QStringLiteral("TOsnovniPodVezaKontakt"), QT_TRANSLATE_NOOP("JetConversion", "Kontakti oseb")},
        {QStringLiteral("TOsnovniPodVezaOpombe"), QT_TRANSLATE_NOOP("JetConversion", "Opombe oseb")},
        {QStringLiteral("TOsnovniPodDodatno"), QT_TRANSLATE_NOOP("JetConversion", "Dodatni podatki oseb")},
        {QStringLiteral("TOsnovniPodVezaKategorje"), QT_TRANSLATE_NOOP("JetConversion", "Kategorije oseb")},
        {QStringLiteral("TOsnovniPodVezaAlarmi"), QT_TRANSLATE_NOOP("JetConversion", "Alarmi oseb")},
        {QStringLiteral("TDrzave"), QT_TRANSLATE_NOOP("JetConversion", "Države")},
        {QStringLiteral("TPokrajina"), QT_TRANSLATE_NOOP("JetConversion", "Pokrajine")},
        {QStringLiteral("TKraj"), QT_TRANSLATE_NOOP("JetConversion", "Kraji")},
        {QStringLiteral("TKategorije"), QT_TRANSLATE_NOOP("JetConversion", "Kategorije")},
        {QStringLiteral("TKontakti"), QT_TRANSLATE_NOOP("JetConversion", "Vrste kontaktov")},
        {QStringLiteral("TEventAlarms"), QT_TRANSLATE_NOOP("JetConversion", "Vrste alarmov")},
        {QStringLiteral("TSifreBank"), QT_TRANSLATE_NOOP("JetConversion", "Banke")},
        {QStringLiteral("TMaticniPodaci"), QT_TRANSLATE_NOOP("JetConversion", "Lastno podjetje")},
        {QStringLiteral("TUsers"), QT_TRANSLATE_NOOP("JetConversion", "Uporabniki")},
    };
    const char *name = names.value(table);
    return name ? QStringLiteral("%1 (%2)").arg(tr(name), table) : table;
}

QString summaryText(const DatabaseImport::Report &report, const QString &keptAside)
{
    QStringList lines{tr("Podatki so pretvorjeni."), QString(), tr("Prenesene vrstice po tabelah:")};
    QStringList skippedColumns;
    for (const DatabaseImport::TableReport &table : report.tables) {
        lines << QStringLiteral("%1: %2").arg(shownName(table.target)).arg(table.rows);
        for (const QString &column : table.skippedColumns)
            skippedColumns << table.source + QLatin1Char('.') + column;
    }
    if (!skippedColumns.isEmpty())
        lines << QString() << tr("Izpuščeni stolpci: %1").arg(skippedColumns.join(QStringLiteral(", ")));
    if (!report.skippedTables.isEmpty())
        lines << QString() << tr("Izpuščene tabele: %1").arg(report.skippedTables.join(QStringLiteral(", ")));
    lines << QString() << tr("Izvirna datoteka je shranjena kot \"%1\".").arg(QFileInfo(keptAside).fileName());
    return lines.join(QLatin1Char('\n'));
}

}

QString keptAsideName(const QString &databaseFile)
{
    const QFileInfo file(databaseFile);
    const QString folder = file.absolutePath() + QLatin1Char('/');
    for (int number = 1;; ++number) {
        const QString mark = number == 1 ? QStringLiteral("Access") : QStringLiteral("Access %1").arg(number);
        const QString name = folder + QStringLiteral("%1 (%2).%3").arg(file.completeBaseName(), mark, file.suffix());
        if (!QFileInfo::exists(name) && !QFileInfo(name).isSymLink())
            return name;
    }
}

bool OfferAtStart(const QString &databaseFile, const std::optional<DatabaseImport::Mapping> &mapping, const QString &converter)
{
    if (!Database::isAccessFile(databaseFile))
        return true;
    const QString program = converter.isEmpty() ? QCoreApplication::applicationFilePath() : converter;
    // A file that cannot be read, or holds nothing of the program's, is told at once;
    // there is nothing to ask.
    try {
        ConverterProcess::check(program, databaseFile, mapping);
    } catch (const DatabaseError &error) {
        VeldraApplication::reportError(error, QStringLiteral("JetConversion"));
        return false;
    }
    const QString keptAside = keptAsideName(databaseFile);
    const QString question =
        tr("Datoteka %1 je baza programa Veldra za Windows (Microsoft Access), ki je ta različica ne odpira.\n\n"
           "Ali jo želite pretvoriti v novo obliko? Izvirna datoteka ostane v isti mapi z imenom \"%2\".\n\n"
           "Delovne postaje z Windows, ki uporabljajo to mapo, po pretvorbi svoje baze ne bodo več našle.")
            .arg(QDir::toNativeSeparators(databaseFile), QFileInfo(keptAside).fileName());
    const QString converted = databaseFile + QStringLiteral(".pretvorba");
    JetConversionDialog dialog(question, [&](const DatabaseImport::Progress &progress) {
        // Left by a conversion that was broken off (a stopped converter leaves its file).
        const auto removeConverted = [&converted] {
            QFile::remove(converted);
            QFile::remove(converted + QStringLiteral("-journal"));
        };
        removeConverted();
        try {
            const DatabaseImport::Report report = ConverterProcess::convert(program, converted, databaseFile, mapping, progress);
            keepAside(databaseFile, keptAside);
            replace(converted, databaseFile, keptAside);
            return summaryText(report, keptAside);
        } catch (...) {
            removeConverted();
            throw;
        }
    });
    dialog.exec();
    if (dialog.outcome() == JetConversionDialog::Outcome::Failed)
        VeldraApplication::reportError(QStringLiteral("DatabaseError"), QStringLiteral("JetConversion"),
                                       tr("Podatkov ni bilo mogoče pretvoriti.") + QLatin1Char('\n') + dialog.failure());
    return dialog.outcome() == JetConversionDialog::Outcome::Converted;
}

}
