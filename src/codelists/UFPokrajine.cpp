#include "UFPokrajine.h"

#include "CodeListAdd.h"

TFPokrajine::TFPokrajine(QWidget *parent)
    : CountryCodeListWindow({"FPokrajine",
                             tr("Pokrajine"),
                             "TPokrajina",
                             "IDPOK",
                             {QStringLiteral("SELECT *"), QStringLiteral("FROM TPokrajina"), QStringLiteral("ORDER BY Naziv;")},
                             {{QStringLiteral("Naziv"), tr("Naziv")}, {QStringLiteral("Skrasano"), tr("Skrajšano")}},
                             {80},
                             100,
                             294,
                             [] { return AddRegion(QString(), QString(), 0); }},
                            tr("Država v kateri se nahaja pokrajina"), parent)
{
    addTextField("DBEdit1", tr("Naziv:"), "Naziv", tr("Naziv oz. ime pokrajine"));
    addTextField("DBEdit2", tr("Skrajšano:"), "Skrasano", tr("Skrajšano"), 10, true);
}
