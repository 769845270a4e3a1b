#include "UFKontakti.h"

#include "CodeListAdd.h"
#include "ContactKindComboBox.h"
#include "Database.h"
#include "Dataset.h"
#include "DatasetBinder.h"
#include "DatasetModel.h"
#include "PictureLink.h"
#include "UDataMod.h"
#include "UpDownButtons.h"

#include <QLineEdit>

TFKontakti::TFKontakti(QWidget *parent)
    : CodeListWindow({"FKontakti",
                      tr("Kontakti"),
                      "TKontakti",
                      "ID",
                      {QStringLiteral("SELECT *"), QStringLiteral("FROM TKontakti"), QStringLiteral("ORDER BY Naziv;")},
                      {{QStringLiteral("Naziv"), tr("Naziv")}, {QStringLiteral("Sort"), tr("Sortiran"), Qt::AlignRight}},
                      {65},
                      85,
                      310,
                      [] { return AddContactType(); },
                      true,
                      155},
                     parent)
{
    QLineEdit *name = textField("DBEdit1", "Naziv", tr("Naziv kontakta"));
    RxSpinButton1 = new UpDownButtons(editArea());
    RxSpinButton1->setObjectName(QStringLiteral("RxSpinButton1"));
    RxSpinButton1->setToolTip(tr("Premakni gor/dol"));
    RxSpinButton1->setStatusTip(tr("Premakni gor/dol"));
    RxSpinButton1->setFixedHeight(name->sizeHint().height());
    addEditRow(tr("Naziv:"), name, RxSpinButton1);
    connect(RxSpinButton1, &UpDownButtons::topClicked, this, &TFKontakti::RxSpinButton1TopClick);
    connect(RxSpinButton1, &UpDownButtons::bottomClicked, this, &TFKontakti::RxSpinButton1BottomClick);

    DBComboBox1 = new ContactKindComboBox(editArea());
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    binder()->bindChoice(DBComboBox1, QStringLiteral("Vrsta"));
    addEditRow(tr("Vrsta:"), DBComboBox1);

    m_picture = new PictureLink(ADOQuery1, QStringLiteral("IkonaPath"), PictureLink::rowPictures(QStringLiteral("Kontakti"), tr("Slika kontakt")),
                                editArea());
    addEditRow(QString(), m_picture);
}

void TFKontakti::RxSpinButton1TopClick()
{
    moveInOrder(true);
}

void TFKontakti::RxSpinButton1BottomClick()
{
    moveInOrder(false);
}

// The type changes places with the one next to it in the order. A type without a place
// counts as the first: up it cannot go, down it takes the second place.
void TFKontakti::moveInOrder(bool up)
{
    if (ADOQuery1->isEmpty())
        return;
    ADOQuery1->checkBrowseMode();
    const QString sortField = QStringLiteral("Sort");
    const QString key = QStringLiteral("ID");
    const int greatest = DataMod->GetMaxValue(QStringLiteral("TKontakti"), sortField);
    const QVariant sort = ADOQuery1->value(sortField);
    const int current = sort.isNull() ? 1 : sort.toInt();
    const int target = sort.isNull() ? (up ? 0 : 2) : current + (up ? -1 : 1);
    if (target < 1 || target > greatest)
        return;
    const QVariant id = ADOQuery1->value(key);
    const auto show = [this, &key, &id] {
        ADOQuery1->requery();
        ADOQuery1->locate(key, id);
    };
    try {
        const FrozenDisplay frozen{ADOQuery1};
        // Both rows change, or neither.
        DataMod->database().transaction([&] {
            if (ADOQuery1->locate(sortField, target)) {
                ADOQuery1->edit();
                ADOQuery1->setValue(sortField, current);
                ADOQuery1->post();
            }
            ADOQuery1->locate(key, id);
            ADOQuery1->edit();
            ADOQuery1->setValue(sortField, target);
            ADOQuery1->post();
        });
    } catch (...) {
        // The rows as the database kept them, not as they were half changed here.
        ADOQuery1->cancel();
        show();
        throw;
    }
    show();
}
