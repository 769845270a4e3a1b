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
                                {QStringLiteral("Kategorije"), tr("Slika kategorija"), pictureFilters(), 4, pictureExtensions(), {}, false},
                                editArea());
    addEditRow(QString(), m_picture);
}

QStringList TFKategorije::pictureFilters()
{
    return {tr("Vse (*.jpg *.jpeg *.bmp *.ico)"), tr("JPEG slika (*.jpg)"), tr("JPEG slika (*.jpeg)"), tr("Bitmap slika (*.bmp)"),
            tr("Ikona (*.ico)")};
}

QStringList TFKategorije::pictureExtensions()
{
    return {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".BMP"), QStringLiteral(".ICO")};
}
