#include "CrashWorker.h"

#include "CrashJournal.h"
#include "CrashWorld.h"

#include "DatabaseBackup.h"
#include "Dataset.h"
#include "ProgramPaths.h"
#include "Settings.h"
#include "Startup.h"
#include "UDataMod.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QRandomGenerator>
#include <QTimer>

#include <sys/prctl.h>

#include <csignal>
#include <cstdio>
#include <memory>

namespace CrashWorker {

namespace {

const char *const workerArgument = "--crash-worker";

// Left alone by a driver that died, a worker ends by itself.
constexpr qint64 LifetimeMs = 60000;

class Worker
{
public:
    Worker(const CrashWorld &world, int run, quint32 seed)
        : m_journal(world.journalFile())
        , m_random(seed)
        , m_run(run)
    {
    }

    int work();

private:
    QString marker(char kind) { return QStringLiteral("%1%2-%3").arg(QLatin1Char(kind)).arg(m_run).arg(++m_counter); }
    qlonglong newPerson(const QString &marker);
    qlonglong newRow(Dataset &rows, qlonglong person, const QString &marker);

    // As the person window saves: the person, then each sub-record, one commit each.
    void savePerson();
    // As an import saves a card: all three in one transaction.
    void saveGroup();
    void rename();
    void backup();
    void writeProgramIni();
    void writeLastVer();
    void writeSettingsStore();
    void failOnMessageBox();

    CrashJournal::Writer m_journal;
    QRandomGenerator m_random;
    int m_run;
    int m_counter = 0;
    QList<qlonglong> m_persons;
    // The datasets go before the data module whose connection they use.
    std::unique_ptr<TDataMod> m_dataMod;
    std::unique_ptr<Dataset> m_contacts;
    std::unique_ptr<Dataset> m_notes;
};

int Worker::work()
{
    failOnMessageBox();
    m_journal.begin(QString::fromLatin1(CrashJournal::Start));
    if (const std::optional<int> code = RunStartupInitialisation({}))
        return *code;
    m_dataMod = std::make_unique<TDataMod>();
    Database &database = m_dataMod->database();
    m_contacts = std::make_unique<Dataset>(&database, QStringLiteral("SELECT * FROM TOsnovniPodVezaKontakt WHERE (ID = 0)"));
    m_notes = std::make_unique<Dataset>(&database, QStringLiteral("SELECT * FROM TOsnovniPodVezaOpombe WHERE (ID = 0)"));
    m_contacts->open();
    m_notes->open();
    m_journal.done(QString::fromLatin1(CrashJournal::Start));
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    // Each activity with its weight.
    const std::vector<std::pair<int, void (Worker::*)()>> activities = {
        {3, &Worker::savePerson},      {2, &Worker::saveGroup},    {2, &Worker::rename},
        {1, &Worker::backup},          {2, &Worker::writeProgramIni}, {2, &Worker::writeLastVer},
        {2, &Worker::writeSettingsStore},
    };
    int total = 0;
    for (const auto &activity : activities)
        total += activity.first;
    QElapsedTimer lifetime;
    lifetime.start();
    while (lifetime.elapsed() < LifetimeMs) {
        int pick = m_random.bounded(total);
        for (const auto &[weight, step] : activities) {
            if ((pick -= weight) < 0) {
                (this->*step)();
                break;
            }
        }
    }
    return 0;
}

qlonglong Worker::newPerson(const QString &marker)
{
    Dataset *persons = DataMod->TOsnovniPod;
    persons->append();
    persons->setValue(QStringLiteral("Podjetje"), QStringLiteral("False"));
    persons->setValue(QStringLiteral("Sifra"), marker);
    persons->setValue(QStringLiteral("Ime"), QStringLiteral("Oseba"));
    persons->setValue(QStringLiteral("Priimek"), marker);
    persons->setValue(QStringLiteral("CelotnoIme"), QString(QStringLiteral("Oseba ") + marker));
    persons->post();
    return persons->value(QStringLiteral("ID")).toLongLong();
}

qlonglong Worker::newRow(Dataset &rows, qlonglong person, const QString &marker)
{
    rows.append();
    rows.setValue(QStringLiteral("IDOsebe"), person);
    rows.setValue(QStringLiteral("Value"), marker);
    if (rows.hasField(QStringLiteral("IDKontat")))
        rows.setValue(QStringLiteral("IDKontat"), 1);
    else
        rows.setValue(QStringLiteral("Datum"), QDateTime::currentDateTime());
    rows.post();
    return rows.value(QStringLiteral("ID")).toLongLong();
}

void Worker::savePerson()
{
    const QString name = marker('P');
    m_journal.begin(QString::fromLatin1(CrashJournal::Person), QString(), name);
    const qlonglong person = newPerson(name);
    m_journal.done(QString::fromLatin1(CrashJournal::Person), QString::number(person), name);
    m_persons << person;
    for (const auto &[activity, rows] : {std::pair{CrashJournal::Contact, m_contacts.get()}, std::pair{CrashJournal::Note, m_notes.get()}}) {
        m_journal.begin(QString::fromLatin1(activity), QString(), name);
        const qlonglong key = newRow(*rows, person, name);
        m_journal.done(QString::fromLatin1(activity), QString::number(key), name);
    }
}

void Worker::saveGroup()
{
    const QString name = marker('G');
    m_journal.begin(QString::fromLatin1(CrashJournal::Group), QString(), name);
    qlonglong person = 0, contact = 0, note = 0;
    DataMod->database().transaction([&] {
        person = newPerson(name);
        contact = newRow(*m_contacts, person, name);
        note = newRow(*m_notes, person, name);
    });
    m_journal.done(QString::fromLatin1(CrashJournal::Group), QStringLiteral("%1,%2,%3").arg(person).arg(contact).arg(note), name);
    m_persons << person;
}

void Worker::rename()
{
    if (m_persons.isEmpty())
        return;
    const qlonglong person = m_persons[m_random.bounded(int(m_persons.size()))];
    Dataset *persons = DataMod->TOsnovniPod;
    if (!persons->locate(QStringLiteral("ID"), person))
        return;
    const QString name = marker('R');
    m_journal.begin(QString::fromLatin1(CrashJournal::Rename), QString::number(person), name);
    persons->edit();
    persons->setValue(QStringLiteral("Priimek"), name);
    persons->post();
    m_journal.done(QString::fromLatin1(CrashJournal::Rename), QString::number(person), name);
}

void Worker::backup()
{
    // As at start-up: a server keeps its own backups.
    if (!GetDatabaseServer().isEmpty())
        return;
    // A day of its own for each backup, so that each one is the first of its day.
    const QDateTime day(QDate(2001, 1, 1).addDays(qint64(m_run) * 400 + ++m_counter % 400), QTime(8, 0));
    const QString target = day.date().toString(Qt::ISODate);
    m_journal.begin(QString::fromLatin1(CrashJournal::Backup), target);
    if (BackupNeeded(day) && MakeBackup(day))
        m_journal.done(QString::fromLatin1(CrashJournal::Backup), target);
}

void Worker::writeProgramIni()
{
    static const QStringList sections{QStringLiteral("Glavno"), QStringLiteral("Moduli"), QStringLiteral("Zadnje")};
    const QString section = sections[m_random.bounded(int(sections.size()))];
    const QString key = QStringLiteral("Stevec%1").arg(m_random.bounded(1, 4));
    const QString value = marker('I');
    const QString target = section + QLatin1Char('|') + key;
    m_journal.begin(QString::fromLatin1(CrashJournal::ProgramIni), target, value);
    WriteIniString(ProgramPaths::iniFile(), section, key, value);
    m_journal.done(QString::fromLatin1(CrashJournal::ProgramIni), target, value);
}

void Worker::writeLastVer()
{
    const QString computer = QStringLiteral("POSTAJA-%1").arg(m_random.bounded(1, 4));
    const QDateTime moment = QDateTime(QDate(2026, 12, 1), QTime(8, 0)).addSecs(qint64(m_run) * 3600 + 60 * ++m_counter);
    const QString value = LastAccessText(moment);
    const QString target = QStringLiteral("Uporabniki|") + computer;
    m_journal.begin(QString::fromLatin1(CrashJournal::LastVer), target, value);
    RecordLastAccess(moment, computer);
    m_journal.done(QString::fromLatin1(CrashJournal::LastVer), target, value);
}

void Worker::writeSettingsStore()
{
    static const QStringList keyPaths{QString::fromLatin1(KeyNastavitve), QStringLiteral("Software\\Veldra\\Stevci")};
    const QString keyPath = keyPaths[m_random.bounded(int(keyPaths.size()))];
    const QString name = QStringLiteral("Stevec%1").arg(m_random.bounded(1, 4));
    const QString value = marker('S');
    const QString target = keyPath + QLatin1Char('|') + name;
    m_journal.begin(QString::fromLatin1(CrashJournal::SettingsStore), target, value);
    WriteRegString(keyPath, name, value);
    m_journal.done(QString::fromLatin1(CrashJournal::SettingsStore), target, value);
}

// A message box is a failure told to the user: the worker notes it and ends, instead
// of waiting for an answer no one gives.
void Worker::failOnMessageBox()
{
    auto *watch = new QTimer(qApp);
    QObject::connect(watch, &QTimer::timeout, [this] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        QStringList texts;
        for (const QLabel *label : box->findChildren<QLabel *>())
            texts << label->text().simplified();
        m_journal.line(QStringLiteral("fail\tmessage box\t") + texts.join(QLatin1Char(' ')));
        std::_Exit(3);
    });
    watch->start(20);
}

}

QStringList arguments(const QString &worldFolder, int run, quint32 seed)
{
    return {QString::fromLatin1(workerArgument), worldFolder, QString::number(run), QString::number(seed)};
}

std::optional<int> runIfAsked(int argc, char *argv[])
{
    if (argc < 5 || qstrcmp(argv[1], workerArgument) != 0)
        return std::nullopt;
    // A worker never outlives the run that started it.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    const CrashWorld world(QString::fromLocal8Bit(argv[2]));
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("XDG_CONFIG_HOME", world.configFolder().toUtf8());
    qputenv("XDG_RUNTIME_DIR", world.runtimeFolder().toUtf8());
    QApplication app(argc, argv);
    ProgramPaths::setProgramFile(world.programFile());
    Worker worker(world, QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toUInt());
    try {
        return worker.work();
    } catch (const std::exception &error) {
        CrashJournal::Writer(world.journalFile()).line(QStringLiteral("fail\terror\t") + QString::fromUtf8(error.what()).simplified());
        return 2;
    }
}

}
