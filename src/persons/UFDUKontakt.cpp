#include "UFDUKontakt.h"

#include "CodeListAdd.h"
#include "LookupComboBox.h"
#include "Schema.h"
#include "TypeLookup.h"
#include "UDataMod.h"

#include <QLineEdit>

TFDUKontakt *FDUKontakt = nullptr;

TFDUKontakt::TFDUKontakt(QWidget *parent)
    : EntryDialog(QStringLiteral("FDUKontakt"), tr("Dodaj / uredi kontakt"), parent)
    , m_instance(FDUKontakt, this)
{
    m_types = new TypeLookup({"DBLookupComboBox1", "FlatButton1", objectName(), DataMod->QKontaktiLookup, QStringLiteral("ID"),
                              QStringLiteral("Naziv"), QStringLiteral("TKontakti"), [] { return AddContactType(); }},
                             this);
    DBLookupComboBox1 = m_types->combo();
    addRow(tr("Vrsta:"), {m_types});
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    // No longer than the column, so that a contact is never cut or refused on saving.
    Edit1->setMaxLength(Schema::table(u"TOsnovniPodVezaKontakt")->column(QStringLiteral("Value"))->size);
    addRow(tr("Kontakt:"), {Edit1});
    setFirstField(DBLookupComboBox1);
}

bool TFDUKontakt::ask(const QString &caption, const QVariant &type, const QString &value)
{
    setWindowTitle(caption);
    m_types->choose(type);
    Edit1->setText(value);
    return exec() == QDialog::Accepted;
}

int TFDUKontakt::contactType() const
{
    return m_types->chosenType();
}

QString TFDUKontakt::value() const
{
    return Edit1->text();
}

bool TFDUKontakt::canConfirm() const
{
    return !Edit1->text().trimmed().isEmpty() && contactType() > 0;
}
