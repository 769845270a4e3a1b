#include "Schema.h"

namespace Schema {

namespace {

using T = Type;

// Text columns without a size of their own get the original engine's text limit;
// free extra data and search words may be longer.
constexpr int TextLimit = 255;

const std::vector<Table> all = {
    {"TOsnovniPod", "ID",
     {{"ID", T::AutoNumber}, {"Naziv", T::Text, 50}, {"Ime", T::Text, 255}, {"SrednjeIme", T::Text, 255},
      {"Priimek", T::Text, 255}, {"CelotnoIme", T::Text, 255}, {"Sifra", T::Text, 20}, {"DatumRojstva", T::DateTime},
      {"PravnaOseba", T::YesNo}, {"Podjetje", T::Text, 255}, {"Naslov", T::Text, 255}, {"IDKRAJ", T::Long},
      {"IDPOK", T::Long}, {"IDDRZAVA", T::Long}, {"IDPodjetja", T::Long}, {"FunckijaVPodjetju", T::Text, 255},
      {"TelVPodjetju", T::Text, 50}, {"TRR", T::Text, 16}, {"Davcna", T::Text, 50}, {"IDPovezave", T::Long}},
     // Lists are ordered by the program's collation, which an index cannot serve; an index on a
     // searched text would only lure the engine away from one quick pass over the table.
     // The indexes serve the delete guard's probes.
     {{"TOsnovniPod_IDPodjetja", "IDPodjetja"}, {"TOsnovniPod_IDKRAJ", "IDKRAJ"}}},
    {"TOsnovniPodVezaKontakt", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"IDKontat", T::Long}, {"Value", T::Text, 255}},
     {{"TOsnovniPodVezaKontakt_IDOsebe", "IDOsebe"}, {"TOsnovniPodVezaKontakt_IDKontat", "IDKontat"}}},
    {"TOsnovniPodVezaOpombe", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"Value", T::Text, 255}, {"Datum", T::DateTime}, {"Sort", T::Long}},
     {{"TOsnovniPodVezaOpombe_IDOsebe", "IDOsebe"}}},
    {"TOsnovniPodDodatno", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"Polje", T::Text, TextLimit}, {"Value", T::Text}, {"Sort", T::Long}},
     {{"TOsnovniPodDodatno_IDOsebe", "IDOsebe"}}},
    {"TOsnovniPodVezaKategorje", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"IDkat", T::Long}},
     {{"TOsnovniPodVezaKategorje_IDOsebe", "IDOsebe,IDkat"}, {"TOsnovniPodVezaKategorje_IDkat", "IDkat"}}},
    {"TOsnovniPodVezaAlarmi", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"IDAlarm", T::Long}, {"DatumCas", T::DateTime},
      {"Value", T::Text, 50}, {"AlertDaysBefore", T::Byte}},
     {{"TOsnovniPodVezaAlarmi_IDOsebe", "IDOsebe"}, {"TOsnovniPodVezaAlarmi_IDAlarm", "IDAlarm"}}},
    {"TDrzave", "IDDRZAVE",
     {{"IDDRZAVE", T::AutoNumber}, {"Naziv", T::Text, 255}, {"Skrajsano", T::Text, 255}},
     {}},
    {"TPokrajina", "IDPOK",
     {{"IDPOK", T::AutoNumber}, {"IDDRZAVA", T::Long}, {"Naziv", T::Text, TextLimit}, {"Skrasano", T::Text, TextLimit}},
     {{"TPokrajina_IDDRZAVA", "IDDRZAVA"}}},
    {"TKraj", "IDKRAJ",
     {{"IDKRAJ", T::AutoNumber}, {"IDDRZAVA", T::Long}, {"Naziv", T::Text, TextLimit}, {"Zip", T::Text, TextLimit}},
     {{"TKraj_IDDRZAVA", "IDDRZAVA"}}},
    {"TKategorije", "IDkat",
     {{"IDkat", T::AutoNumber}, {"Naziv", T::Text, TextLimit}, {"IkonaPath", T::Text, TextLimit}},
     {}},
    {"TKontakti", "ID",
     {{"ID", T::AutoNumber}, {"Naziv", T::Text, TextLimit}, {"Vrsta", T::Long}, {"Sort", T::Long},
      {"IkonaPath", T::Text, TextLimit}, {"IsNaslov", T::YesNo}, {"StVrstic", T::Long}},
     {}},
    {"TEventAlarms", "ID",
     {{"ID", T::AutoNumber}, {"NazivAlarma", T::Text, 255}, {"Ikona", T::Text, 20}, {"BackColor", T::Long},
      {"FontColor", T::Long}, {"Flashing", T::YesNo}, {"AlertNDaysBefore", T::Byte}, {"AlertType", T::Long}},
     {}},
    {"TSifreBank", "ID",
     {{"ID", T::AutoNumber}, {"SifraBanke", T::Text, 5}, {"SkNazivBanke", T::Text, 50}, {"NazivBanke", T::Text, 255}},
     {}},
    {"TMaticniPodaci", "IDFirma",
     {{"IDFirma", T::Long}, {"Naziv", T::Text, 50}, {"Naslov", T::Text, 50}, {"PSt", T::Text, 50},
      {"Kraj", T::Text, 50}, {"LogoForReportsFName", T::Text, 20}, {"DavcnaSt", T::Text, 20},
      {"MaticnaSt", T::Text, 20}, {"TRR", T::Text, 16}, {"Vlozek", T::Text, 50}, {"VlozekNum", T::Text, 20},
      {"OsnovniKapital", T::Double}, {"OsnovniKapitalVal", T::Text, 3}},
     {}},
    {"TUsers", "IDUser",
     {{"IDUser", T::AutoNumber}, {"UserName", T::Text, 50}, {"LastOpenedDate", T::DateTime},
      {"LastAlarmEventsChecked", T::DateTime}, {"Password", T::Text, 250}},
     {}},
    {"TRequery", "ID",
     {{"ID", T::AutoNumber}, {"TableName", T::Text, TextLimit}, {"LastModified", T::DateTime}},
     {{"TRequery_TableName", "TableName"}}},
    {"TRelacije", "ID",
     {{"ID", T::AutoNumber}, {"ImeTabele", T::Text, 50}, {"ImePolja", T::Text, 50}, {"RelativnoZTabelo", T::Text, 50},
      {"RelativnoZPoljem", T::Text, 50}, {"CantDeleteMessage", T::Text, 50}},
     {{"TRelacije_ImeTabele", "ImeTabele"}}},
    {"TSharingProgs", "ID",
     {{"ID", T::AutoNumber}, {"IDOsebe", T::Long}, {"ProgID", T::Text, 2}, {"InProgIDOsebe", T::Long},
      {"WasNotRefreshed", T::YesNo}},
     {{"TSharingProgs_IDOsebe", "IDOsebe"}, {"TSharingProgs_InProgIDOsebe", "InProgIDOsebe"}}},
    {"TSharingProgsQuery", "ID",
     {{"ID", T::AutoNumber}, {"ProgID", T::Text, TextLimit}, {"ProgIDQueryCom", T::Text, TextLimit},
      {"InProgIDOsebe", T::Long}, {"IDOsebe", T::Long}, {"SearchKWS", T::Text}},
     {{"TSharingProgsQuery_InProgIDOsebe", "InProgIDOsebe"}, {"TSharingProgsQuery_IDOsebe", "IDOsebe"}}},
};

const std::vector<Reference> allReferences = {
    {"TKraj", "IDDRZAVA", "TDrzave"},
    {"TPokrajina", "IDDRZAVA", "TDrzave"},
    {"TOsnovniPod", "IDDRZAVA", "TDrzave"},
    {"TOsnovniPod", "IDKRAJ", "TKraj"},
    {"TOsnovniPod", "IDPOK", "TPokrajina"},
    {"TOsnovniPod", "IDPodjetja", "TOsnovniPod"},
    {"TOsnovniPodVezaKontakt", "IDKontat", "TKontakti"},
    {"TOsnovniPodVezaKategorje", "IDkat", "TKategorije"},
    {"TOsnovniPodVezaAlarmi", "IDAlarm", "TEventAlarms"},
    {"TOsnovniPodVezaKontakt", "IDOsebe", "TOsnovniPod"},
    {"TOsnovniPodVezaOpombe", "IDOsebe", "TOsnovniPod"},
    {"TOsnovniPodDodatno", "IDOsebe", "TOsnovniPod"},
    {"TOsnovniPodVezaKategorje", "IDOsebe", "TOsnovniPod"},
    {"TOsnovniPodVezaAlarmi", "IDOsebe", "TOsnovniPod"},
    {"TSharingProgs", "IDOsebe", "TOsnovniPod"},
    {"TSharingProgsQuery", "IDOsebe", "TOsnovniPod"},
};

bool sameName(QStringView a, const char *b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString columnDefinition(const Table &table, const Column &column, SqlDialect dialect)
{
    const QString name = QString::fromLatin1(column.name);
    const bool sqlite = dialect == SqlDialect::Sqlite;
    // Sized texts and bytes are checked by the database, as the original engine did,
    // so that a refused value reaches the user rather than being cut.
    switch (column.type) {
    case T::AutoNumber:
        return name + (sqlite ? QStringLiteral(" INTEGER PRIMARY KEY AUTOINCREMENT")
                              : QStringLiteral(" integer GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
    case T::Long: {
        const QString key = sameName(name, table.key) ? QStringLiteral(" PRIMARY KEY") : QString();
        return name + (sqlite ? QStringLiteral(" INTEGER") : QStringLiteral(" integer")) + key;
    }
    case T::Byte:
        return name + (sqlite ? QStringLiteral(" INTEGER") : QStringLiteral(" smallint")) + QStringLiteral(" CHECK (")
            + name + QStringLiteral(" BETWEEN 0 AND 255)");
    case T::Double:
        return name + (sqlite ? QStringLiteral(" REAL") : QStringLiteral(" double precision"));
    case T::DateTime:
        return name + (sqlite ? QStringLiteral(" DATETIME") : QStringLiteral(" timestamp(3)"));
    case T::YesNo:
        return name + (sqlite ? QStringLiteral(" INTEGER NOT NULL DEFAULT 0") : QStringLiteral(" boolean NOT NULL DEFAULT false"));
    case T::Text:
        if (sqlite)
            return name + QStringLiteral(" TEXT")
                + (column.size > 0 ? QStringLiteral(" CHECK (length(%1) <= %2)").arg(name).arg(column.size) : QString());
        // Lists sort as a Slovenian reader expects.
        return name + (column.size > 0 ? QStringLiteral(" varchar(%1)").arg(column.size) : QStringLiteral(" text"))
            + QStringLiteral(" COLLATE \"sl-x-icu\"");
    }
    return name;
}

}

const Column *Table::column(QStringView name) const
{
    for (const Column &c : columns)
        if (sameName(name, c.name))
            return &c;
    return nullptr;
}

const Table *table(QStringView name)
{
    for (const Table &t : all)
        if (sameName(name, t.name))
            return &t;
    return nullptr;
}

const Column *anyColumn(QStringView name)
{
    for (const Table &t : all)
        if (const Column *c = t.column(name))
            return c;
    return nullptr;
}

QStringList createStatements(SqlDialect dialect)
{
    QStringList statements;
    for (const Table &table : all) {
        QStringList columns;
        for (const Column &column : table.columns)
            columns << columnDefinition(table, column, dialect);
        statements << QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(QString::fromLatin1(table.name), columns.join(QStringLiteral(",\n  ")));
        for (const Index &index : table.indexes)
            statements << QStringLiteral("CREATE INDEX %1 ON %2 (%3)")
                              .arg(QString::fromLatin1(index.name), QString::fromLatin1(table.name), QString::fromLatin1(index.columns));
    }
    return statements;
}

QStringList changeTrackingStatements(SqlDialect dialect)
{
    if (dialect != SqlDialect::Postgres)
        return {};
    // Every statement that writes a table counts on a sequence, which no writer waits
    // for, and holds a shared lock (which no writer waits for either) until its
    // transaction ends. The token is the count and the transactions still holding the
    // lock: a change counted while its transaction was open is seen again once it commits.
    QStringList statements{
        QStringLiteral("CREATE SEQUENCE IF NOT EXISTS veldra_change"),
        QStringLiteral("CREATE OR REPLACE FUNCTION veldra_note_change() RETURNS trigger LANGUAGE plpgsql AS $$\n"
                       "BEGIN\n"
                       "  PERFORM pg_advisory_xact_lock_shared(1447382084, 1);\n"
                       "  PERFORM nextval('veldra_change');\n"
                       "  RETURN NULL;\n"
                       "END $$"),
        // The count is read before the writers: a writer that counted after it is still open then.
        QStringLiteral("CREATE OR REPLACE FUNCTION %1() RETURNS text LANGUAGE plpgsql AS $$\n"
                       "DECLARE\n"
                       "  counted bigint;\n"
                       "  writing text;\n"
                       "BEGIN\n"
                       "  SELECT CASE WHEN is_called THEN last_value ELSE 0 END INTO counted FROM veldra_change;\n"
                       "  SELECT string_agg(virtualtransaction, ',' ORDER BY virtualtransaction) INTO writing FROM pg_locks\n"
                       "    WHERE locktype = 'advisory' AND classid = 1447382084 AND objid = 1 AND objsubid = 2\n"
                       "      AND database = (SELECT oid FROM pg_database WHERE datname = current_database());\n"
                       "  RETURN counted || '/' || coalesce(writing, '');\n"
                       "END $$")
            .arg(QString::fromLatin1(ChangeTokenFunction)),
    };
    for (const Table &table : all) {
        const QString name = QString::fromLatin1(table.name);
        statements << QStringLiteral("DROP TRIGGER IF EXISTS veldra_change ON %1").arg(name)
                   << QStringLiteral("CREATE TRIGGER veldra_change AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                                     "FOR EACH STATEMENT EXECUTE FUNCTION veldra_note_change()")
                          .arg(name);
    }
    return statements;
}

const std::vector<Reference> &references()
{
    return allReferences;
}

int tableCount()
{
    return int(all.size());
}

const Table &tableAt(int index)
{
    return all.at(size_t(index));
}

}
