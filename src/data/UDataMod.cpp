#include "UDataMod.h"

#include "ChangeStamps.h"
#include "Dataset.h"
#include "DatabaseError.h"

#include "PublicFunctions.h"
#include "Settings.h"

TDataMod *DataMod = nullptr;

namespace {

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

}

TDataMod::TDataMod(QObject *parent)
    : QObject(parent)
    , m_instance(DataMod, this)
{
    setObjectName(QStringLiteral("DataMod"));
    ADOConnection1BeforeConnect();
    m_database = std::make_unique<Database>(DatabaseLocation::fromSettings());
    if (!m_database->hasChangeTracking())
        ShowMessageBox(tr("Baza na strežniku je pripravljena za starejšo različico programa: program ne more ugotoviti, ali so "
                          "drugi uporabniki kaj spremenili, zato ob vsaki vrnitvi znova prebere vse sezname. Skrbnik naj bazo "
                          "dopolni z ukazom »veldra-dbtool postgres %1«.")
                           .arg(m_database->location().describe()),
                       0);

    TDrzave = table("TDrzave", true);
    TKraj = table("TKraj", true);
    TPokrajina = table("TPokrajina", true);
    TKategorije = table("TKategorije", true);
    TKontakti = table("TKontakti", true);
    TEventAlarms = table("TEventAlarms", true);
    TSifreBank = table("TSifreBank", true);
    TOsnovniPod = table("TOsnovniPod", true);
    TUsers = table("TUsers", false);
    TRequery = table("TRequery", false);
    TRelacije = table("TRelacije", false);

    QDrzaveLookup = lookup("QDrzaveLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TDrzave"),
                                             QStringLiteral("Where (TDrzave.Naziv is Not Null)"),
                                             QStringLiteral("ORDER BY TDrzave.Naziv;")});
    QKrajLookup = lookup("QKrajLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TKraj"),
                                         QStringLiteral("Where (TKraj.Naziv is Not Null)"), QStringLiteral("ORDER BY TKraj.Naziv;")});
    QPokrajineLookup = lookup("QPokrajineLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TPokrajina"),
                                                   QStringLiteral("Where (TPokrajina.Naziv is Not Null)"),
                                                   QStringLiteral("ORDER BY TPokrajina.Naziv;")});
    QKontaktiLookup = lookup("QKontaktiLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TKontakti"),
                                                 QStringLiteral("Where (TKontakti.Naziv is Not Null)"),
                                                 QStringLiteral("ORDER BY TKontakti.Sort;")});
    QEventAlarmsLookup = lookup("QEventAlarmsLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TEventAlarms"),
                                                       QStringLiteral("Where (TEventAlarms.NazivAlarma is Not Null)"),
                                                       QStringLiteral("ORDER BY TEventAlarms.NazivAlarma ;")});
    QKategorijeLookup = lookup("QKategorijeLookup", {QStringLiteral("SELECT *"), QStringLiteral("FROM TKategorije"),
                                                     QStringLiteral("Where (TKategorije.Naziv is Not Null)"),
                                                     QStringLiteral("ORDER BY TKategorije.Naziv;")});
    // The companies, for choosing a person's employer. The database selects them, so
    // that the persons are not all read into memory to be filtered here; the list needs
    // only their keys and names, and a large office has a hundred thousand companies.
    QPodjetja = lookup("QPodjetja", {QStringLiteral("SELECT ID, CelotnoIme"), QStringLiteral("FROM TOsnovniPod"),
                                     QStringLiteral("WHERE (Podjetje=\"True\")"), QStringLiteral("ORDER BY TOsnovniPod.CelotnoIme;")});
    QPodjetje = new Dataset(m_database.get(), QStringLiteral("Select *\nFrom TMaticniPodaci\nWhere (IDFirma=:IDPodjetja)"), this);
    QPodjetje->setObjectName(QStringLiteral("QPodjetje"));

    tmpQuery = new Dataset(m_database.get(), QString(), this);
    tmpQuery->setObjectName(QStringLiteral("tmpQuery"));
    tmpQueryGetMaxVal = new Dataset(m_database.get(), QString(), this);
    tmpQueryGetMaxVal->setObjectName(QStringLiteral("tmpQueryGetMaxVal"));
    TMemAlertTypes = new Dataset(this);
    TMemAlertTypes->setObjectName(QStringLiteral("TMemAlertTypes"));
    TMemAlertTypes->setMemoryFields({QStringLiteral("ID"), QStringLiteral("Name")});

    ADOConnection1AfterConnect();
    for (Dataset *shared : {TDrzave, TKraj, TPokrajina, TKategorije, TKontakti, TEventAlarms, TSifreBank, TOsnovniPod, TUsers, TRequery,
                            TRelacije, QDrzaveLookup, QKrajLookup, QPokrajineLookup, QKontaktiLookup, QEventAlarmsLookup,
                            QKategorijeLookup, QPodjetja})
        shared->open();
    DataModuleCreate();
}

TDataMod::~TDataMod()
{
    // The datasets go before the connection they read from.
    qDeleteAll(findChildren<Dataset *>(Qt::FindDirectChildrenOnly));
}

Dataset *TDataMod::table(const char *name, bool marksChanges)
{
    const QString tableName = QString::fromLatin1(name);
    auto *dataset = new Dataset(m_database.get(), QStringLiteral("SELECT * FROM ") + tableName, this);
    dataset->setObjectName(tableName);
    // The persons can be many: their rows are read one by one, when used.
    if (tableName == QLatin1String("TOsnovniPod")) {
        dataset->setSql(QStringLiteral("SELECT ID FROM TOsnovniPod"));
        dataset->setRowStatement(QStringLiteral("ID"), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"));
        dataset->setUpdateTable(tableName);
    }
    if (marksChanges)
        connect(dataset, &Dataset::recordChangeComplete, this, [this, tableName] { MarkTableChanged(tableName); });
    return dataset;
}

Dataset *TDataMod::lookup(const char *name, const QStringList &lines)
{
    auto *dataset = new Dataset(this);
    dataset->setDatabase(m_database.get());
    dataset->setSqlLines(lines);
    dataset->setReadOnly(true);
    dataset->setObjectName(QString::fromLatin1(name));
    return dataset;
}

QString TDataMod::ADOConnection1BeforeConnect()
{
    const QString empty = QStringLiteral("\"\"");
    const QList<std::pair<const char *, QString>> properties = {
        {"Provider", QStringLiteral("Microsoft.Jet.OLEDB.4.0")},
        {"Password", empty},
        {"User ID", QStringLiteral("Admin")},
        {"Data Source", GetDataFolder() + QStringLiteral("VELDRA_BE.MDB")},
        {"Mode", QStringLiteral("Share Deny None")},
        {"Extended Properties", empty},
        {"Jet OLEDB:System database", empty},
        {"Jet OLEDB:Registry Path", empty},
        {"Jet OLEDB:Database Password", empty},
        {"Jet OLEDB:Engine Type", QStringLiteral("5")},
        {"Jet OLEDB:Database Locking Mode", QStringLiteral("0")},
        {"Jet OLEDB:Global Partial Bulk Ops", QStringLiteral("2")},
        {"Jet OLEDB:Global Bulk Transactions", QStringLiteral("1")},
        {"Jet OLEDB:New Database Password", empty},
        {"Jet OLEDB:Create System Database", QStringLiteral("False")},
        {"Jet OLEDB:Encrypt Database", QStringLiteral("False")},
        {"Jet OLEDB:Don't Copy Locale on Compact", QStringLiteral("False")},
        {"Jet OLEDB:Compact Without Replica Repair", QStringLiteral("False")},
        {"Jet OLEDB:SFP", QStringLiteral("False")},
    };
    QStringList parts;
    for (const auto &[name, value] : properties)
        parts << QString::fromLatin1(name) + QLatin1Char('=') + value;
    m_connectionText = parts.join(QLatin1Char(';'));
    return m_connectionText;
}

void TDataMod::ADOConnection1AfterConnect()
{
    QPodjetje->setParameter(QStringLiteral("IDPodjetja"), GetCompanyId());
    if (QPodjetje->isOpen())
        QPodjetje->requery();
    else
        QPodjetje->open();
}

void TDataMod::DataModuleCreate()
{
    TMemAlertTypes->open();
    const QString kinds = tr("0=brez;1=na mesec;2=na leto");
    for (int n = 1;; ++n) {
        const QString token = GetToken(kinds, QStringLiteral(";"), n);
        if (token.trimmed().isEmpty())
            break;
        TMemAlertTypes->append();
        TMemAlertTypes->setValue(QStringLiteral("ID"), GetToken(token, QStringLiteral("="), 1).toLongLong());
        TMemAlertTypes->setValue(QStringLiteral("Name"), GetToken(token, QStringLiteral("="), 2));
        TMemAlertTypes->post();
    }
    TMemAlertTypes->first();

    // The installed database has the user row; should it be missing, it is made again
    // rather than stopping the start.
    if (!TUsers->locate(field("IDUser"), CurrentUserId())) {
        TUsers->append();
        TUsers->setValue(field("IDUser"), CurrentUserId());
    }
    TUsers->setValue(field("LastOpenedDate"), QDateTime::currentDateTime());
    // Workstations starting at the same moment write the same user's row: this start is
    // noted over another's (the refusal has read it) rather than refusing to start.
    for (int attempt = 1;; ++attempt) {
        try {
            TUsers->post();
            return;
        } catch (const RecordChangedError &) {
            if (attempt == 3)
                throw;
        }
    }
}

void TDataMod::MarkTableChanged(const QString &tableName)
{
    if (!m_unstampedTables.contains(tableName, Qt::CaseInsensitive))
        m_unstampedTables.append(tableName);
    try {
        while (!m_unstampedTables.isEmpty()) {
            StampTableChange(*m_database, m_unstampedTables.first());
            m_unstampedTables.removeFirst();
        }
        // The stamps are read afresh again where they are asked for.
        TRequery->requery();
    } catch (const DatabaseBusyError &) {
        // Within a transaction the failure is the whole work's: the server has ended it.
        if (m_database->inTransaction())
            throw;
    }
}

bool TDataMod::RefreshIfChanged(const QString &windowName, Dataset *dataSet, const QString &keyColumn, bool reopen,
                                const QString &tableName)
{
    const QString formName = QStringLiteral("DS") + windowName;
    const QString controlName = dataSet->objectName();
    SmartRequeryRow *row = nullptr;
    for (SmartRequeryRow &candidate : TMemSmartRequery) {
        if (candidate.FormName.compare(formName, Qt::CaseInsensitive) == 0
            && candidate.ControlName.compare(controlName, Qt::CaseInsensitive) == 0) {
            row = &candidate;
            break;
        }
    }
    // The stamps are read afresh, so that changes of other workstations count too.
    TRequery->requery();
    if (!TRequery->locate(field("TableName"), tableName, Dataset::CaseInsensitive)) {
        MarkTableChanged(tableName);
        TRequery->locate(field("TableName"), tableName, Dataset::CaseInsensitive);
    }
    const QDateTime stamp = TRequery->value(field("LastModified")).toDateTime();
    if (row && row->LastRefresh == stamp)
        return false;
    if (row)
        row->LastRefresh = stamp;
    else
        TMemSmartRequery.append({formName, controlName, stamp});

    if (reopen) {
        dataSet->checkBrowseMode();
        const QVariant key = keyColumn.trimmed().isEmpty() ? QVariant() : dataSet->value(keyColumn);
        dataSet->close();
        dataSet->open();
        if (!key.isNull())
            dataSet->locate(keyColumn, key);
    }
    return true;
}

bool TDataMod::CanDeleteRecord(const QString &tableName, Dataset *dataSet)
{
    if (!dataSet->isOpen() || dataSet->isEmpty())
        return false;
    if (ShowMessageBox(tr("Ali resnično želite izbrisati vnos?"), 4) != 6)
        return false;

    const QString guarded = tableName.toUpper();
    TRelacije->setRowFilter([guarded](const Dataset &rules, int row) {
        return rules.rawValue(row, rules.fieldIndex(QStringLiteral("ImeTabele"))).toString() == guarded;
    });
    TRelacije->setFiltered(true);
    TRelacije->requery();
    if (TRelacije->isEmpty())
        return true;

    const QVariant key = dataSet->value(TRelacije->value(field("ImePolja")).toString());
    if (key.isNull())
        return false;
    const qlonglong k = key.toLongLong();
    for (TRelacije->first();; TRelacije->next()) {
        const QString r = TRelacije->value(field("RelativnoZTabelo")).toString();
        const QString c = TRelacije->value(field("RelativnoZPoljem")).toString();
        tmpQuery->close();
        tmpQuery->setSql(QStringLiteral("SELECT %1.%2 FROM %1 WHERE (((%1.%2)=%3));").arg(r, c).arg(k));
        tmpQuery->open();
        if (!tmpQuery->isEmpty()) {
            tmpQuery->close();
            ShowMessageBox(tr("Vnosa ni mogoče izbrisati, ker se navezuje na druge tabele!") + QStringLiteral("\r\n")
                               + TRelacije->value(field("CantDeleteMessage")).toString(),
                           0);
            return false;
        }
        if (TRelacije->eof())
            break;
    }
    tmpQuery->close();
    return true;
}

int TDataMod::GetMaxValue(const QString &tableName, const QString &column)
{
    tmpQueryGetMaxVal->close();
    tmpQueryGetMaxVal->setSql(QStringLiteral("SELECT Max(%1.%2) AS Greatest FROM %1;").arg(tableName, column));
    tmpQueryGetMaxVal->open();
    // No rows, or none with a value: Max gives null, which counts as 0.
    return tmpQueryGetMaxVal->value(0).toInt();
}

int TDataMod::CountPersons()
{
    tmpQuery->close();
    tmpQuery->setSql(QStringLiteral("SELECT Count(*) AS Persons FROM TOsnovniPod;"));
    tmpQuery->open();
    const int persons = tmpQuery->value(0).toInt();
    tmpQuery->close();
    return persons;
}

void TDataMod::ExecuteWork(const QString &jetSql)
{
    m_database->run(jetSql);
}

void TDataMod::DeletePerson(qint64 id)
{
    m_database->transaction([this, id] {
        for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"})
            ExecuteWork(QStringLiteral("DELETE * FROM %1 WHERE (((IDOsebe)=%2));").arg(QString::fromLatin1(table)).arg(id));
        ExecuteWork(QStringLiteral("DELETE * FROM TOsnovniPod WHERE (((ID)=%1));").arg(id));
    });
    MarkTableChanged(QStringLiteral("TOsnovniPod"));
}
