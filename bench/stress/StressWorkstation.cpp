#include "StressWorkstation.h"

#include "StressJournal.h"

#include "DatabaseError.h"
#include "Dataset.h"
#include "ProgramPaths.h"
#include "UDataMod.h"

#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>

namespace Stress {

namespace {

const QString ID = QStringLiteral("ID");

// The fields of a person the workstations write, in the sizes the table allows.
const QStringList personFields{QStringLiteral("Ime"), QStringLiteral("Priimek"), QStringLiteral("Naslov"),
                               QStringLiteral("Davcna"), QStringLiteral("CelotnoIme")};

class Workstation
{
public:
    explicit Workstation(const WorkstationOrder &order)
        : m_order(order)
        , m_random(order.seed)
        , m_journal(order.journal)
    {
        DataMod->database().setBusyTimeout(order.busyTimeoutMs);
        m_persons = DataMod->TOsnovniPod;
        // The persons there at the start are the ones most workstations work on.
        for (int recNo = 1; recNo <= m_persons->recordCount(); ++recNo)
            m_shared.push_back(m_persons->valueAt(recNo, m_persons->fieldIndex(ID)).toLongLong());
        m_contacts = subRecords("TOsnovniPodVezaKontakt");
        m_notes = subRecords("TOsnovniPodVezaOpombe");
        m_categories = subRecords("TOsnovniPodVezaKategorje");
    }

    void work()
    {
        const qint64 until = now() + qint64(m_order.durationMs) * 1000000;
        while (now() < until) {
            const int choice = pick(100);
            if (choice < 30)
                editPerson();
            else if (choice < 36)
                addPerson();
            else if (choice < 40)
                deletePerson();
            else if (choice < 50)
                addSubRecord(m_contacts);
            else if (choice < 60)
                editSubRecord(m_contacts);
            else if (choice < 64)
                deleteSubRecord(m_contacts);
            else if (choice < 70)
                addSubRecord(m_notes);
            else if (choice < 76)
                editSubRecord(m_notes);
            else if (choice < 86)
                toggleCategory();
            else if (choice < 90)
                renameCategory();
            else
                readAgain();
            // A moment between two changes, as a user has, and the machine shared with others.
            std::this_thread::sleep_for(std::chrono::microseconds(pick(2000)));
        }
    }

private:
    Dataset *subRecords(const char *table)
    {
        auto *dataset = new Dataset(&DataMod->database(), QStringLiteral("SELECT * FROM %1 WHERE (IDOsebe=:IDOsebe)").arg(QString::fromLatin1(table)),
                                    DataMod);
        dataset->setObjectName(QString::fromLatin1(table));
        return dataset;
    }

    int pick(int count) { return int(std::uniform_int_distribution<int>(0, count - 1)(m_random)); }

    // Unique among all workstations' values: what the database holds tells who wrote it.
    QString newValue() { return QStringLiteral("w%1-%2").arg(m_order.number).arg(++m_written); }

    // Mostly one of the shared persons, so that workstations meet on the same rows.
    qint64 somePerson()
    {
        if (!m_shared.empty() && pick(3) > 0)
            return m_shared[size_t(pick(int(m_shared.size())))];
        return anyPerson();
    }

    qint64 anyPerson()
    {
        return m_persons->isEmpty() ? 0 : m_persons->valueAt(1 + pick(m_persons->recordCount()), m_persons->fieldIndex(ID)).toLongLong();
    }

    // Runs what the user asked and notes what the program told; a refused change is
    // left as the user would leave it, in the dataset, for the next try.
    Change::Outcome tell(Change change, const std::function<void(Change &)> &work)
    {
        change.workstation = m_order.number;
        change.start = now();
        try {
            work(change);
            change.outcome = Change::Outcome::Saved;
        } catch (const RecordChangedError &error) {
            change.outcome = Change::Outcome::Conflict;
            change.message = error.message();
        } catch (const DatabaseBusyError &error) {
            change.outcome = Change::Outcome::Busy;
            change.message = error.message();
        } catch (const std::exception &error) {
            change.outcome = Change::Outcome::Failed;
            change.message = QString::fromStdString(error.what());
        }
        change.end = now();
        m_journal.write(change);
        return change.outcome;
    }

    // What the dataset read of the fields an edit changes, before it changes them.
    static void noteBases(const Dataset *dataset, Change &made)
    {
        made.bases.clear();
        const int row = dataset->rowOfRecord(dataset->recNo());
        for (auto it = made.fields.cbegin(); it != made.fields.cend(); ++it)
            made.bases.insert(it.key(), dataset->rawValue(row, dataset->fieldIndex(it.key())).toString());
    }

    // An edit of a row; a refused one is made again (the user's own choice after a
    // conflict, or a moment later when the database was busy), or given up. The edit may
    // have stayed in the dataset, or not have begun: the user makes it again either way.
    void edit(Dataset *dataset, const Change &change, const std::function<void(Change &)> &work)
    {
        Change::Outcome outcome = tell(change, work);
        if (outcome == Change::Outcome::Saved)
            return;
        if (outcome != Change::Outcome::Failed && pick(2) == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(pick(20)));
            outcome = tell(change, work);
        }
        if (outcome != Change::Outcome::Saved)
            dataset->cancel();
    }

    void editPerson()
    {
        const qint64 person = somePerson();
        if (!person || !m_persons->locate(ID, person))
            return;
        Change change(Change::Kind::Update, QStringLiteral("TOsnovniPod"), person);
        for (int fields = 1 + pick(2); fields > 0; --fields)
            change.fields.insert(personFields[pick(int(personFields.size()))], newValue());
        edit(m_persons, change, [this](Change &made) {
            noteBases(m_persons, made);
            for (auto it = made.fields.cbegin(); it != made.fields.cend(); ++it)
                m_persons->setValue(it.key(), it.value());
            m_persons->post();
        });
    }

    void addPerson()
    {
        Change change(Change::Kind::Insert, QStringLiteral("TOsnovniPod"));
        change.fields = {{QStringLiteral("Ime"), newValue()}, {QStringLiteral("CelotnoIme"), newValue()}};
        const Change::Outcome outcome = tell(change, [this](Change &made) {
            m_persons->append();
            for (auto it = made.fields.cbegin(); it != made.fields.cend(); ++it)
                m_persons->setValue(it.key(), it.value());
            m_persons->post();
            made.key = m_persons->value(ID).toLongLong();
        });
        if (outcome != Change::Outcome::Saved)
            m_persons->cancel();
    }

    // Only persons added while the workstations work: the shared ones stay to be edited.
    void deletePerson()
    {
        const qint64 person = anyPerson();
        if (!person || std::find(m_shared.cbegin(), m_shared.cend(), person) != m_shared.cend())
            return;
        tell(Change(Change::Kind::Delete, QStringLiteral("TOsnovniPod"), person),
             [person](Change &) { DataMod->DeletePerson(person); });
    }

    // The person's sub-records, read as the person window reads them when the person is shown.
    bool load(Dataset *dataset, qint64 person)
    {
        return tell(Change(Change::Kind::Read, dataset->objectName(), 0, person), [dataset, person](Change &) {
                   dataset->setParameter(QStringLiteral("IDOsebe"), person);
                   dataset->isOpen() ? dataset->requery() : dataset->open();
               })
            == Change::Outcome::Saved;
    }

    void addSubRecord(Dataset *dataset)
    {
        const qint64 person = somePerson();
        if (!person || !load(dataset, person))
            return;
        Change change(Change::Kind::Insert, dataset->objectName(), 0, person);
        change.fields = {{QStringLiteral("Value"), newValue()}};
        const Change::Outcome outcome = tell(change, [dataset, person](Change &made) {
            dataset->append();
            dataset->setValue(QStringLiteral("IDOsebe"), person);
            if (dataset->hasField(QStringLiteral("IDKontat")))
                dataset->setValue(QStringLiteral("IDKontat"), 1);
            dataset->setValue(QStringLiteral("Value"), made.fields.value(QStringLiteral("Value")));
            dataset->post();
            made.key = dataset->value(ID).toLongLong();
        });
        if (outcome != Change::Outcome::Saved)
            dataset->cancel();
    }

    void editSubRecord(Dataset *dataset)
    {
        const qint64 person = somePerson();
        if (!person || !load(dataset, person) || dataset->isEmpty())
            return;
        dataset->moveTo(1 + pick(dataset->recordCount()));
        Change change(Change::Kind::Update, dataset->objectName(), dataset->value(ID).toLongLong(), person);
        change.fields = {{QStringLiteral("Value"), newValue()}};
        edit(dataset, change, [dataset](Change &made) {
            noteBases(dataset, made);
            dataset->setValue(QStringLiteral("Value"), made.fields.value(QStringLiteral("Value")));
            dataset->post();
        });
    }

    void deleteSubRecord(Dataset *dataset)
    {
        const qint64 person = somePerson();
        if (!person || !load(dataset, person) || dataset->isEmpty())
            return;
        dataset->moveTo(1 + pick(dataset->recordCount()));
        tell(Change(Change::Kind::Delete, dataset->objectName(), dataset->value(ID).toLongLong(), person),
             [dataset](Change &) { dataset->deleteRecord(); });
    }

    // The person joins a category, or leaves it when a member already.
    void toggleCategory()
    {
        Dataset *categories = DataMod->TKategorije;
        const qint64 person = somePerson();
        if (!person || categories->isEmpty() || !load(m_categories, person))
            return;
        const QString category = categories->valueAt(1 + pick(categories->recordCount()), categories->fieldIndex(QStringLiteral("IDkat"))).toString();
        if (m_categories->locate(QStringLiteral("IDkat"), category.toLongLong())) {
            tell(Change(Change::Kind::Delete, m_categories->objectName(), m_categories->value(ID).toLongLong(), person),
                 [this](Change &) { m_categories->deleteRecord(); });
            return;
        }
        Change change(Change::Kind::Insert, m_categories->objectName(), 0, person);
        change.fields = {{QStringLiteral("IDkat"), category}};
        const Change::Outcome outcome = tell(change, [this, person, category](Change &made) {
            m_categories->append();
            m_categories->setValue(QStringLiteral("IDOsebe"), person);
            m_categories->setValue(QStringLiteral("IDkat"), category.toLongLong());
            m_categories->post();
            made.key = m_categories->value(ID).toLongLong();
        });
        if (outcome != Change::Outcome::Saved)
            m_categories->cancel();
    }

    // Through the data module's own table, which stamps the change for the others.
    void renameCategory()
    {
        Dataset *categories = DataMod->TKategorije;
        if (categories->isEmpty())
            return;
        categories->moveTo(1 + pick(categories->recordCount()));
        Change change(Change::Kind::Update, QStringLiteral("TKategorije"), categories->value(QStringLiteral("IDkat")).toLongLong());
        change.fields = {{QStringLiteral("Naziv"), newValue()}};
        edit(categories, change, [categories](Change &made) {
            noteBases(categories, made);
            categories->setValue(QStringLiteral("Naziv"), made.fields.value(QStringLiteral("Naziv")));
            categories->post();
        });
    }

    // Coming back to the program: what others changed is read again.
    void readAgain()
    {
        tell(Change(Change::Kind::Read, QStringLiteral("TOsnovniPod")), [this](Change &) {
            m_persons->requeryIfChanged();
            DataMod->RefreshIfChanged(QStringLiteral("Stress"), DataMod->TKategorije, QStringLiteral("IDkat"), true,
                                      QStringLiteral("TKategorije"));
        });
    }

    const WorkstationOrder &m_order;
    std::mt19937 m_random;
    Journal m_journal;
    int m_written = 0;
    std::vector<qint64> m_shared;
    Dataset *m_persons;
    Dataset *m_contacts;
    Dataset *m_notes;
    Dataset *m_categories;
};

}

QStringList WorkstationOrder::arguments() const
{
    return {installation, QString::number(number), QString::number(seed), QString::number(durationMs), QString::number(busyTimeoutMs), journal};
}

bool WorkstationOrder::fromArguments(const QStringList &arguments, WorkstationOrder &order)
{
    if (arguments.size() != 6)
        return false;
    bool ok[4] = {};
    order.installation = arguments[0];
    order.number = arguments[1].toInt(&ok[0]);
    order.seed = arguments[2].toUInt(&ok[1]);
    order.durationMs = arguments[3].toInt(&ok[2]);
    order.busyTimeoutMs = arguments[4].toInt(&ok[3]);
    order.journal = arguments[5];
    return ok[0] && ok[1] && ok[2] && ok[3];
}

int runWorkstation(const WorkstationOrder &order)
{
    ProgramPaths::setProgramFile(order.installation + QStringLiteral("/veldra"));
    try {
        TDataMod dataModule;
        Workstation(order).work();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "veldra-stress: workstation %d: %s\n", order.number, error.what());
        return 1;
    }
    return 0;
}

}
