#include "UFKraji.h"

#include "CodeListAdd.h"

TFKraji::TFKraji(QWidget *parent)
    : CountryCodeListWindow({"FKraji",
                             tr("Kraji"),
                             "TKraj",
                             "IDKRAJ",
                             {QStringLiteral("SELECT [TKraj].[IDKRAJ], [TKraj].[IDDRZAVA], [TKraj].[Naziv], [TKraj].[Zip]"),
                              QStringLiteral("FROM TKraj"), QStringLiteral("ORDER BY [TKraj].[Naziv];")},
                             {{QStringLiteral("Naziv"), tr("Naziv")}, {QStringLiteral("Zip"), tr("Poštna št.")}},
                             {70},
                             85,
                             270,
                             [] { return AddPlace(QString(), QString(), 0); }},
                            tr("Država v kateri se nahaja kraj"), parent)
{
    addTextField("DBEdit1", tr("Naziv:"), "Naziv", tr("Naziv oz. ime kraja"));
    addTextField("DBEdit2", tr("Poštna št.:"), "Zip", tr("Poštna številka kraja"), 10, true);
}
