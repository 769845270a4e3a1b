#include "UFDrzave.h"

#include "CodeListAdd.h"

TFDrzave::TFDrzave(QWidget *parent)
    : CodeListWindow({"FDrzave",
                      tr("Države"),
                      "TDrzave",
                      "IDDRZAVE",
                      {QStringLiteral("SELECT [TDrzave].[IDDRZAVE], [TDrzave].[Naziv], [TDrzave].[Skrajsano]"), QStringLiteral("FROM TDrzave"),
                       QStringLiteral("ORDER BY [TDrzave].[Naziv];")},
                      {{QStringLiteral("Naziv"), tr("Naziv")}, {QStringLiteral("Skrajsano"), tr("Skrajšano"), Qt::AlignHCenter}},
                      {65},
                      85,
                      260,
                      [] { return AddCountry(); }},
                     parent)
{
    addTextField("DBEdit1", tr("Naziv:"), "Naziv", tr("Naziv oz. ime države"));
    addTextField("DBEdit2", tr("Skrajšano:"), "Skrajsano", tr("Okrajšava za državo"), 3, true);
}
