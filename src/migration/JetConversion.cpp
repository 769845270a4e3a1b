#include "JetConversion.h"

#include "DatabaseError.h"
#include "JetFile.h"
#include "JetImport.h"
#include "PublicFunctions.h"
#include "VeldraApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProgressDialog>

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

QString summaryText(const DatabaseImport::Report &report, const QString &keptAside)
{
    QStringList lines{tr("Podatki so pretvorjeni."), QString(), tr("Prenesene vrstice po tabelah:")};
    QStringList skippedColumns;
    for (const DatabaseImport::TableReport &table : report.tables) {
        lines << QStringLiteral("%1: %2").arg(table.target).arg(table.rows);
        for (const QString &column : table.skippedColumns)
            skippedColumns << table.source + QLatin1Char('.') + column;
    }
    if (!skippedColumns.isEmpty())
        lines << QString() << tr("Izpuščeni stolpci: %1").arg(skippedColumns.join(QStringLiteral(", ")));
    if (!report.skippedTables.isEmpty())
        lines << QString() << tr("Izpuščene tabele: %1").arg(report.skippedTables.join(QStringLiteral(", ")));
    lines << QString() << tr("Izvirna datoteka je shranjena kot \"%1\".").arg(QFileInfo(keptAside).fileName());
    return lines.join(QStringLiteral("\r\n"));
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

bool OfferAtStart(const QString &databaseFile, const std::optional<DatabaseImport::Mapping> &mapping)
{
    if (!JetFile::hasJetHeader(databaseFile))
        return true;
    // A file that cannot be read is told at once; there is nothing to ask.
    try {
        JetFile check(databaseFile);
    } catch (const DatabaseError &error) {
        VeldraApplication::reportError(error, QStringLiteral("JetConversion"));
        return false;
    }
    const QString keptAside = keptAsideName(databaseFile);
    const QString question =
        tr("Datoteka %1 je baza programa Veldra za Windows (Microsoft Access), ki je ta različica ne odpira.\r\n\r\n"
           "Ali jo želite pretvoriti v novo obliko? Izvirna datoteka ostane v isti mapi z imenom \"%2\".\r\n\r\n"
           "Delovne postaje z Windows, ki uporabljajo to mapo, po pretvorbi svoje baze ne bodo več našle.")
            .arg(QDir::toNativeSeparators(databaseFile), QFileInfo(keptAside).fileName());
    if (ShowMessageBox(question, 4) != 6)
        return false;

    const QString converted = databaseFile + QStringLiteral(".pretvorba");
    // Left by a conversion that was broken off.
    QFile::remove(converted);
    QProgressDialog progress(tr("Pretvarjanje podatkov ..."), tr("Prekliči"), 0, 1000);
    progress.setWindowTitle(QString::fromLatin1(ApplicationTitle));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    bool cancelled = false;
    DatabaseImport::Report report;
    try {
        report = JetImport::run(databaseFile, DatabaseLocation::sqliteFile(converted), mapping, [&](qint64 done, qint64 total) {
            progress.setValue(int(done * 1000 / std::max<qint64>(total, 1)));
            if (progress.wasCanceled()) {
                cancelled = true;
                throw DatabaseError(tr("Pretvorba je prekinjena."));
            }
        });
        keepAside(databaseFile, keptAside);
        replace(converted, databaseFile, keptAside);
    } catch (const DatabaseError &error) {
        QFile::remove(converted);
        progress.close();
        if (cancelled)
            ShowMessageBox(tr("Pretvorba je prekinjena. Datoteka %1 je ostala, kakršna je bila.").arg(QDir::toNativeSeparators(databaseFile)), 0);
        else
            VeldraApplication::reportError(error, QStringLiteral("JetConversion"));
        return false;
    }
    progress.close();
    ShowMessageBox(summaryText(report, keptAside), 0);
    return true;
}

}
