// The person window at scale, on generated persons in an SQLite data folder:
//   veldra-bench-persons [COUNT,COUNT,...]     (default 10000,100000,1000000)
// For each count: creating the window, one keystroke in the search box until the browse
// list shows the new rows (prefix and "*contains", one to three letters), the same by
// re-running the whole statement for every keystroke (the plain way), choosing another
// person until the record is shown, the program coming back to the front (nothing
// changed, and after another workstation added a person), and the resident memory.
// Every keystroke's rows are checked against the statement's rows, read afresh.

#include "BenchSupport.h"
#include "Database.h"
#include "Dataset.h"
#include "IncrementalSearch.h"
#include "PersonSearchPanel.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "TimeZoneCache.h"
#include "UDataMod.h"
#include "UFDodajOsebo.h"
#include "UFVeldra.h"
#include "AlarmList.h"
#include "UFPregledAlarmov.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

namespace {

struct Figures
{
    std::vector<double> times;
    void add(double ms) { times.push_back(ms); }
    double median()
    {
        std::sort(times.begin(), times.end());
        return times.empty() ? 0 : times[times.size() / 2];
    }
    double worst() { return times.empty() ? 0 : *std::max_element(times.begin(), times.end()); }
};

// A keystroke as the user makes it, then whatever the list has to paint.
void press(QLineEdit *box, QChar c)
{
    QKeyEvent down(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(box, &down);
    QApplication::sendEvent(box, &up);
    QApplication::processEvents();
}

QList<qlonglong> shownIds(const Dataset &list)
{
    QList<qlonglong> ids;
    const int f = list.fieldIndex(QStringLiteral("ID"));
    for (int recNo = 1; recNo <= list.recordCount(); ++recNo)
        ids << list.valueAt(recNo, f).toLongLong();
    return ids;
}

// The rows the statement gives when run afresh (once: nothing changes them meanwhile),
// to be filtered row by row.
struct StatementRows
{
    StatementRows(Database &database, const QString &sql, const QString &field)
    {
        QSqlQuery query = database.run(sql);
        const int id = query.record().indexOf(QStringLiteral("ID"));
        const int matched = query.record().indexOf(field);
        while (query.next()) {
            ids << query.value(id).toLongLong();
            texts << query.value(matched).toString();
        }
    }
    QList<qlonglong> matching(const QString &typed) const
    {
        QList<qlonglong> matched;
        for (qsizetype row = 0; row < ids.size(); ++row)
            if (IncrementalSearch::matches(texts[row], typed))
                matched << ids[row];
        return matched;
    }
    QList<qlonglong> ids;
    QStringList texts;
};

// Enough for a median that one slow moment of a shared machine does not move.
constexpr int TypedTexts = 36;
// The plain way reads the whole statement for every text: a few show what it costs.
constexpr int PlainTexts = 6;

// Texts a user would type: the beginnings of names that exist, and parts from inside them.
QStringList typedTexts(Database &database, bool contains, quint32 seed)
{
    QRandomGenerator random(seed);
    QStringList names;
    QSqlQuery query = database.run(QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod WHERE ID % 97 = 3"));
    while (query.next())
        names << query.value(0).toString();
    QStringList texts;
    for (int i = 0; i < TypedTexts && !names.isEmpty(); ++i) {
        const QString name = names[random.bounded(int(names.size()))];
        const int from = contains ? random.bounded(1, qMax(2, int(name.size()) - 3)) : 0;
        texts << (contains ? QStringLiteral("*") : QString()) + name.mid(from, 3).toUpper();
    }
    return texts;
}

struct Installation
{
    explicit Installation(int persons)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("program")));
        QDir().mkpath(dir.filePath(QStringLiteral("data")));
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        ProgramPaths::setProgramFile(dir.filePath(QStringLiteral("program/veldra")));
        QFile ini(dir.filePath(QStringLiteral("program/veldra.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Glavno]\nPathPodatki=" + dir.filePath(QStringLiteral("data")).toUtf8() + "\nMaticniPodatki=1\n");
        ini.close();
        ClearSettingsCache();
        file = dir.filePath(QStringLiteral("data/Veldra_be.mdb"));
        Bench::generatedDatabase(file, persons);
    }
    QTemporaryDir dir;
    QString file;
};

void measure(int persons)
{
    Installation installation(persons);
    const double memoryBefore = Bench::residentMegabytes();
    std::unique_ptr<TDataMod> dataMod;
    Bench::print("datamod_create", persons, Bench::elapsedMs([&] { dataMod = std::make_unique<TDataMod>(); }), "ms");
    auto dialog = std::make_unique<TFDodajOsebo>();
    std::unique_ptr<TFVeldra> window;
    Bench::print("window_create", persons, Bench::elapsedMs([&] {
                     window = std::make_unique<TFVeldra>();
                     window->resize(1200, 800);
                     window->show();
                     QApplication::processEvents();
                 }), "ms");

    auto *box = window->findChild<QLineEdit *>(QStringLiteral("PregledInputText"));
    Database &database = dataMod->database();
    int mismatches = 0;
    for (const bool contains : {false, true}) {
        // Let go before the memory is measured: it is the bench's, not the program's.
        const StatementRows fresh(database, window->QPregled->sql(), window->search()->SearchField);
        std::map<int, Figures> byLength;
        Figures all, plain;
        const QStringList texts = typedTexts(database, contains, contains ? 2 : 1);
        for (qsizetype t = 0; t < texts.size(); ++t) {
            const QString &text = texts[t];
            box->clear();
            window->QPregled->refilter();
            // The emptied list is painted before the first letter, which is not to pay for it.
            QApplication::processEvents();
            QString typed;
            for (const QChar c : text) {
                typed += c;
                const double ms = Bench::elapsedMs([&] { press(box, c); });
                // The asterisk alone shows everything; the letters after it are the search.
                const int letters = int(typed.size()) - (contains ? 1 : 0);
                if (letters > 0) {
                    byLength[letters].add(ms);
                    all.add(ms);
                }
                if (shownIds(*window->QPregled) != fresh.matching(typed))
                    ++mismatches;
            }
            if (t >= PlainTexts)
                continue;
            // The plain way: the whole statement again for the complete text.
            plain.add(Bench::elapsedMs([&] {
                window->QPregled->requery();
                IncrementalSearch search;
                search.setText(typed);
                search.setRows(*window->QPregled, window->search()->SearchField);
                int shown = 0;
                for (int row = 0; row < window->QPregled->rawRowCount(); ++row)
                    shown += search.accepts(row) ? 1 : 0;
                Q_UNUSED(shown);
            }));
        }
        const char *kind = contains ? "contains" : "prefix";
        Bench::print(qPrintable(QStringLiteral("keystroke_%1_median").arg(QLatin1String(kind))), persons, all.median(), "ms");
        Bench::print(qPrintable(QStringLiteral("keystroke_%1_worst").arg(QLatin1String(kind))), persons, all.worst(), "ms");
        for (auto &[letters, figures] : byLength) {
            Bench::print(qPrintable(QStringLiteral("keystroke_%1_%2_median").arg(QLatin1String(kind)).arg(letters)), persons,
                         figures.median(), "ms");
            Bench::print(qPrintable(QStringLiteral("keystroke_%1_%2_worst").arg(QLatin1String(kind)).arg(letters)), persons,
                         figures.worst(), "ms");
        }
        Bench::print(qPrintable(QStringLiteral("keystroke_%1_plain_median").arg(QLatin1String(kind))), persons, plain.median(), "ms");
    }
    Bench::print("keystroke_mismatches", persons, mismatches, "rows");

    box->clear();
    window->QPregled->refilter();
    auto *grid = window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QRandomGenerator random(3);
    Figures switches;
    // Every section is loaded on each switch; the one shown in turn is also laid out and painted.
    auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    const char *const sections[] = {"PKontakt", "POpombe", "POstaliPodatki", "PKategorija", "PAlarmi"};
    for (int i = 0; i < 100; ++i) {
        tabs->setCurrentWidget(window->findChild<QWidget *>(QString::fromLatin1(sections[i % 5]) + QStringLiteral("Tab")));
        QApplication::processEvents();
        const int row = random.bounded(window->QPregled->recordCount());
        switches.add(Bench::elapsedMs([&] {
            grid->setCurrentIndex(grid->model()->index(row, 0));
            QApplication::processEvents();
        }));
    }
    // One person's alarms, shown.
    tabs->setCurrentWidget(window->findChild<QWidget *>(QStringLiteral("PAlarmiTab")));
    Figures alarmList;
    for (int i = 0; i < 100; ++i) {
        const QVariant id = window->QPregled->valueAt(random.bounded(window->QPregled->recordCount()) + 1, 0);
        alarmList.add(Bench::elapsedMs([&] {
            window->alarms()->load(id);
            QApplication::processEvents();
        }));
    }
    Bench::print("alarm_list_median", persons, alarmList.median(), "ms");
    Bench::print("person_switch_median", persons, switches.median(), "ms");
    Bench::print("person_switch_worst", persons, switches.worst(), "ms");

    // The check at start, three days after the last one.
    Figures checks;
    for (int i = 0; i < 5; ++i) {
        database.run(QStringLiteral("UPDATE TUsers SET LastAlarmEventsChecked = :S WHERE IDUser = 1"),
                     {{QStringLiteral("S"), QDateTime::currentDateTime().addDays(-3)}});
        std::unique_ptr<TFPregledAlarmov> review;
        checks.add(Bench::elapsedMs([&] { review = std::make_unique<TFPregledAlarmov>(); }));
        if (i == 0) {
            // Then the list of what fell due, as the window reads it when shown.
            Bench::print("alarm_review_list", persons, Bench::elapsedMs([&] { review->ADOQuery1->open(); }), "ms");
            Bench::print("alarm_review_rows", persons, review->ADOQuery1->recordCount(), "rows");
        }
    }
    {
        QSqlQuery alarms = database.run(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaAlarmi"));
        Bench::print("alarms", persons, alarms.next() ? alarms.value(0).toDouble() : 0, "rows");
    }
    Bench::print("alarm_check", persons, checks.median(), "ms");

    Figures unchanged, changed;
    for (int i = 0; i < 5; ++i)
        unchanged.add(Bench::elapsedMs([&] { window->refreshKeepingPosition(); }));
    Database other(DatabaseLocation::sqliteFile(installation.file));
    // Several samples: on a shared machine one slow moment would decide a short series.
    for (int i = 0; i < 9; ++i) {
        other.run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Podjetje) VALUES (\"Nova oseba %1\", \"False\")").arg(i));
        changed.add(Bench::elapsedMs([&] { window->refreshKeepingPosition(); }));
    }
    Bench::print("focus_back_median", persons, unchanged.median(), "ms");
    Bench::print("focus_back_changed_median", persons, changed.median(), "ms");
    Bench::print("focus_back_changed_worst", persons, changed.worst(), "ms");
    Bench::print("rss", persons, Bench::residentMegabytes(), "MB");
    Bench::print("rss_window_and_data", persons, Bench::residentMegabytes() - memoryBefore, "MB");
    window.reset();
    dialog.reset();
    dataMod.reset();
}

}

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // As the program starts.
    UseCachedTimeZone();
    const QList<int> counts = Bench::personCounts(argc, argv, {10000, 100000, 1000000});
    for (const int persons : counts)
        measure(persons);
    return 0;
}
