#include "SearchDefinition.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TFVeldra", text);
}

const QString selectStart = QStringLiteral("SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPod.CelotnoIme, ");
const QString withCategories = QStringLiteral(
    "FROM TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe ");

QString subRecordSource(const char *table)
{
    return QStringLiteral("FROM (TOsnovniPod LEFT JOIN TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe) "
                          "LEFT JOIN %1 ON TOsnovniPod.ID = %1.IDOsebe ")
        .arg(QString::fromLatin1(table));
}

SearchDefinition search(int id, const QString &sql, const QString &field, const QString &title)
{
    SearchDefinition definition;
    definition.ID = id;
    definition.SQL = sql;
    definition.Col1_FieldName = field;
    definition.Col1_FieldTitle = title;
    definition.Col2_FieldName = QStringLiteral("CelotnoIme");
    definition.Col2_FieldTitle = tr("Celotno ime");
    definition.SearchByFieldName = field;
    return definition;
}

}

QList<SearchDefinition> BuiltInSearches()
{
    const QString address = QStringLiteral("Trim([Naslov]+\" \"+[TKraj].[Naziv]+\" \"+[TKraj].[Zip])");
    QList<SearchDefinition> searches{
        search(0, selectStart + QStringLiteral("TOsnovniPod.Sifra ") + withCategories
                   + QStringLiteral("WHERE (((CelotnoIme) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.CelotnoIme;"),
               QStringLiteral("CelotnoIme"), tr("Celotno ime")),
        search(1, selectStart + QStringLiteral("TOsnovniPod.Priimek ") + withCategories
                   + QStringLiteral("WHERE (((CelotnoIme) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.Priimek;"),
               QStringLiteral("Priimek"), tr("Priimek")),
        search(2, selectStart + QStringLiteral("TOsnovniPod.Ime ") + withCategories
                   + QStringLiteral("WHERE (((CelotnoIme) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.Ime;"),
               QStringLiteral("Ime"), tr("Ime")),
        search(3, selectStart + QStringLiteral("TOsnovniPod.Sifra ") + withCategories
                   + QStringLiteral("WHERE (((Sifra) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.Sifra;"),
               QStringLiteral("Sifra"), tr("Šifra")),
        search(4, selectStart + address + QStringLiteral(" AS NaslovFull ")
                   + QStringLiteral("FROM (TOsnovniPod LEFT JOIN TKraj ON TOsnovniPod.IDKRAJ = TKraj.IDKRAJ) LEFT JOIN "
                                    "TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe ")
                   + QStringLiteral("WHERE (((") + address + QStringLiteral(")<>\"\")//UsedFilter//) ORDER BY ") + address
                   + QLatin1Char(';'),
               QStringLiteral("NaslovFull"), tr("Naslov")),
        search(5, selectStart + QStringLiteral("TOsnovniPod_1.CelotnoIme AS ZasposlenVPod ")
                   + QStringLiteral("FROM (TOsnovniPod LEFT JOIN TOsnovniPod AS TOsnovniPod_1 ON TOsnovniPod.IDPodjetja = "
                                    "TOsnovniPod_1.ID) LEFT JOIN TOsnovniPodVezaKategorje ON TOsnovniPod.ID = "
                                    "TOsnovniPodVezaKategorje.IDOsebe ")
                   + QStringLiteral("WHERE (((TOsnovniPod_1.CelotnoIme) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod_1.CelotnoIme;"),
               QStringLiteral("ZasposlenVPod"), tr("Zasposlen v pod")),
        search(6, selectStart + QStringLiteral("TOsnovniPodVezaKontakt.Value ") + subRecordSource("TOsnovniPodVezaKontakt")
                   + QStringLiteral("WHERE (((TOsnovniPodVezaKontakt.Value) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPodVezaKontakt.Value;"),
               QStringLiteral("Value"), tr("Kontakt")),
        search(7, selectStart + QStringLiteral("TOsnovniPod.Davcna ") + withCategories
                   + QStringLiteral("WHERE (((TOsnovniPod.Davcna) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.Davcna;"),
               QStringLiteral("Davcna"), tr("Davčna številka")),
        search(8, selectStart + QStringLiteral("TOsnovniPod.TRR ") + withCategories
                   + QStringLiteral("WHERE (((TOsnovniPod.TRR) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPod.TRR;"),
               QStringLiteral("TRR"), tr("Transakcijski račun")),
        search(9, selectStart + QStringLiteral("TOsnovniPodVezaOpombe.Value ") + subRecordSource("TOsnovniPodVezaOpombe")
                   + QStringLiteral("WHERE (((TOsnovniPodVezaOpombe.Value) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPodVezaOpombe.Value;"),
               QStringLiteral("Value"), tr("Opomba")),
        search(10, selectStart + QStringLiteral("TOsnovniPodDodatno.Value ") + subRecordSource("TOsnovniPodDodatno")
                    + QStringLiteral("WHERE (((TOsnovniPodDodatno.Value) Is Not Null)//UsedFilter//) ORDER BY TOsnovniPodDodatno.Value;"),
               QStringLiteral("Value"), tr("Ostali podatki")),
    };
    // The full-name search shows one column only.
    searches[0].Col2_FieldName.clear();
    searches[0].Col2_FieldTitle = QStringLiteral("Col2");
    searches[0].Col2_Visible = false;
    return searches;
}

QStringList BuiltInSearchItems()
{
    return {tr("Celotnem imenu;0;0;0"),      tr("Priimku;1;0;0"),          tr("Imenu;2;0;0"),
            tr("Šifri;3;0;0"),               tr("Naslovu;4;1;0"),          tr("Zaposlen v podjetju;5;2;0"),
            tr("Kontakt;6;3;0"),             tr("Davčna številka;7;4;0"),  tr("Transakcijski račun;8;4;0"),
            tr("Opombe;9;5;0"),              tr("Ostali podatki;10;6;0")};
}

SearchDefinition ModuleSearch(int id, int moduleIndex, const QString &columnTitle, const QString &queryCommand,
                              const QString &progId)
{
    SearchDefinition definition = search(
        id,
        QStringLiteral("SELECT DISTINCTROW TOsnovniPod.ID, TOsnovniPod.CelotnoIme, TSharingProgsQuery.SearchKWS "
                       "FROM (TSharingProgsQuery RIGHT JOIN TOsnovniPod ON TSharingProgsQuery.IDOsebe = TOsnovniPod.ID) "
                       "LEFT JOIN TOsnovniPodVezaKategorje ON TOsnovniPod.ID = TOsnovniPodVezaKategorje.IDOsebe "
                       "WHERE (((TSharingProgsQuery.SearchKWS) Is Not Null) AND ((TSharingProgsQuery.ProgIDQueryCom) Like "
                       ":ProgIDQueryCom ) AND ((TSharingProgsQuery.ProgID) Like :ProgID )//UsedFilter//) "
                       "ORDER BY TSharingProgsQuery.SearchKWS;"),
        QStringLiteral("SearchKWS"), columnTitle);
    definition.FromPluginIndex = moduleIndex;
    definition.FromPluginIntCom = queryCommand;
    definition.Parameters = {{QStringLiteral("ProgIDQueryCom"), queryCommand}, {QStringLiteral("ProgID"), progId}};
    return definition;
}

QString WithFilter(const QString &sql, const QString &filterExpression)
{
    const QString replacement = filterExpression.trimmed().isEmpty() ? QString()
                                                                      : QStringLiteral(" And (") + filterExpression + QLatin1Char(')');
    return QString(sql).replace(QStringLiteral("//UsedFilter//"), replacement, Qt::CaseInsensitive);
}
