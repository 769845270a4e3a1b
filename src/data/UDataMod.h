#pragma once

#include "Database.h"
#include "SoleInstance.h"

#include <QDateTime>
#include <QObject>

#include <memory>

class Dataset;

// The one owner of the database connection and of the tables and lookups that several
// windows share. It tells windows when to read a table again (a change stamp per table
// in TRequery), guards deletes with the rules of TRelacije, and gives the greatest
// value of a column.
class TDataMod : public QObject
{
    Q_OBJECT
public:
    // Connects and opens the shared datasets; throws DatabaseError when the database
    // cannot be used and ConversionError for a "MaticniPodatki" that is no number.
    explicit TDataMod(QObject *parent = nullptr);
    ~TDataMod() override;

    // The connection text of the original engine, as the program reports its connection.
    QString ADOConnection1BeforeConnect();
    const QString &connectionText() const { return m_connectionText; }
    Database &database() { return *m_database; }

    // Sets the table's change stamp. The change itself is saved by then: a stamp that a
    // busy database does not take is written with the next one, so a saved change is
    // never told as failed.
    void MarkTableChanged(const QString &tableName);
    // True once for each change of the table since this window's dataset last asked;
    // with reopen, the dataset is read again and stays on the same key.
    bool RefreshIfChanged(const QString &windowName, Dataset *dataSet, const QString &keyColumn, bool reopen,
                          const QString &tableName);
    // Asks the user, then checks the delete rules; true when the caller may delete the row.
    bool CanDeleteRecord(const QString &tableName, Dataset *dataSet);
    int GetMaxValue(const QString &tableName, const QString &column);
    int CurrentUserId() const { return 1; }
    // The number of persons and companies, for the usage figures.
    int CountPersons();
    // Runs a statement that returns no rows through the work query.
    void ExecuteWork(const QString &jetSql);
    // Deletes the person with its contacts, notes, categories and extra data, all or
    // nothing (alarms and links stay, by design), and stamps the persons' table.
    void DeletePerson(qint64 id);

    Dataset *TDrzave;
    Dataset *TKraj;
    Dataset *TPokrajina;
    Dataset *TKategorije;
    Dataset *TKontakti;
    Dataset *TEventAlarms;
    Dataset *TSifreBank;
    Dataset *TOsnovniPod;
    Dataset *TUsers;
    Dataset *TRequery;
    Dataset *TRelacije;

    Dataset *QDrzaveLookup;
    Dataset *QKrajLookup;
    Dataset *QPokrajineLookup;
    Dataset *QKontaktiLookup;
    Dataset *QEventAlarmsLookup;
    Dataset *QKategorijeLookup;
    Dataset *QPodjetja;
    Dataset *QPodjetje;

    Dataset *tmpQuery;
    Dataset *tmpQueryGetMaxVal;

    // The repetition kinds of alarm types: 0 "brez", 1 "na mesec", 2 "na leto".
    Dataset *TMemAlertTypes;

    // What each window's dataset last saw of its table's stamp.
    struct SmartRequeryRow
    {
        QString FormName;
        QString ControlName;
        QDateTime LastRefresh;
    };
    QList<SmartRequeryRow> TMemSmartRequery;

private:
    void ADOConnection1AfterConnect();
    void DataModuleCreate();
    Dataset *table(const char *name, bool marksChanges);
    Dataset *lookup(const char *name, const QStringList &lines);

    QString m_connectionText;
    QStringList m_unstampedTables;
    std::unique_ptr<Database> m_database;
    SoleInstance<TDataMod> m_instance;
};

extern TDataMod *DataMod;
