#include "UFDUKontakt.h"

#include "CodeListAdd.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "PublicFunctions.h"
#include "Schema.h"
#include "UDataMod.h"

#include <QEvent>
#include <QLineEdit>

TFDUKontakt *FDUKontakt = nullptr;

TFDUKontakt::TFDUKontakt(QWidget *parent)
    : EntryDialog(QStringLiteral("FDUKontakt"), tr("Dodaj / uredi kontakt"), parent)
    , m_instance(FDUKontakt, this)
{
    DBLookupComboBox1 = new LookupComboBox(this);
    DBLookupComboBox1->setObjectName(QStringLiteral("DBLookupComboBox1"));
    DBLookupComboBox1->setMinimumWidth(180);
    DBLookupComboBox1->setLookup(DataMod->QKontaktiLookup, QStringLiteral("ID"), {QStringLiteral("Naziv")});
    auto *addButton = new FlatButton(tr("Nov"), this);
    addButton->setObjectName(QStringLiteral("FlatButton1"));
    addButton->setToolTip(tr("Dodaj/kreiraj nov vnos"));
    StyleButtons(this);
    addRow(tr("Vrsta:"), {DBLookupComboBox1, addButton});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    // No longer than the column, so that a contact is never cut or refused on saving.
    Edit1->setMaxLength(Schema::table(u"TOsnovniPodVezaKontakt")->column(QStringLiteral("Value"))->size);
    addRow(tr("Kontakt:"), {Edit1});
    setFirstField(DBLookupComboBox1);
    connect(DBLookupComboBox1, &LookupComboBox::entered, this, [this] { refreshTypes(true); });
    connect(addButton, &FlatButton::clicked, this, &TFDUKontakt::addType);
    // Registered now; read again when the dialog is used and types changed meanwhile.
    refreshTypes(false);
}

bool TFDUKontakt::ask(const QString &caption, const QVariant &type, const QString &value)
{
    setWindowTitle(caption);
    DBLookupComboBox1->setCurrentKey(type);
    Edit1->setText(value);
    return exec() == QDialog::Accepted;
}

int TFDUKontakt::contactType() const
{
    return VariantToInt(DBLookupComboBox1->currentKey());
}

QString TFDUKontakt::value() const
{
    return Edit1->text();
}

bool TFDUKontakt::canConfirm() const
{
    return !Edit1->text().trimmed().isEmpty() && contactType() > 0;
}

bool TFDUKontakt::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        refreshTypes(true);
    return EntryDialog::event(event);
}

void TFDUKontakt::refreshTypes(bool reopen)
{
    DataMod->RefreshIfChanged(objectName(), DataMod->QKontaktiLookup, QString(), reopen, QStringLiteral("TKontakti"));
}

void TFDUKontakt::addType()
{
    const int id = AddContactType();
    if (id <= 0)
        return;
    refreshTypes(true);
    refreshTypes(true);
    DBLookupComboBox1->setCurrentKey(id);
}
