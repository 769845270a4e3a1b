#include "UFKategorije.h"

#include "CodeListAdd.h"
#include "PictureLink.h"

#include <QGridLayout>
#include <QLayout>

TFKategorije::TFKategorije(QWidget *parent)
    : CodeListWindow({"FKategorije",
                      tr("Kategorije"),
                      "TKategorije",
                      "IDkat",
                      {QStringLiteral("SELECT *"), QStringLiteral("FROM TKategorije"), QStringLiteral("ORDER BY Naziv;")},
                      {{QStringLiteral("Naziv"), tr("Naziv")}},
                      {},
                      20,
                      285,
                      [] { return AddCategory(); },
                      true},
                     parent)
{
    addTextField("DBEdit1", tr("Naziv:"), "Naziv", tr("Naziv kategorije"));
    m_picture = new PictureLink(ADOQuery1, QStringLiteral("IkonaPath"),
                                PictureLink::rowPictures(QStringLiteral("Kategorije"), tr("Slika kategorija")), editArea());
    addEditRow(QString(), m_picture);
}
