#include "UFDodajOsebo.h"

#include "DatabaseError.h"
#include "Dataset.h"
#include "NameComboBox.h"
#include "NameRules.h"
#include "PublicFunctions.h"
#include "Schema.h"
#include "Settings.h"
#include "UDataMod.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QStackedLayout>

TFDodajOsebo *FDodajOsebo = nullptr;

namespace {

void setList(NameComboBox *box, const QStringList &items)
{
    box->clear();
    box->addItems(items);
    box->setEditText(QString());
}

}

TFDodajOsebo::TFDodajOsebo(QWidget *parent)
    : EntryDialog(QStringLiteral("FDodajOsebo"), tr("Dodaj osebo"), parent)
    , m_instance(FDodajOsebo, this)
{
    FormCreate();
}

void TFDodajOsebo::FormCreate()
{
    CheckBox1 = new QCheckBox(this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    ComboBox1 = new NameComboBox("ComboBox1", this);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    ComboBox2 = new NameComboBox("ComboBox2", this);
    ComboBox4 = new NameComboBox("ComboBox4", this);
    ComboBox3 = new NameComboBox("ComboBox3", this);
    // Nothing longer than its column can be typed.
    const Schema::Table *persons = Schema::table(u"TOsnovniPod");
    for (const auto &[edit, column] : {std::pair{Edit1, "Sifra"}, std::pair{Edit2, "CelotnoIme"}, std::pair{ComboBox1->lineEdit(), "Naziv"},
                                       std::pair{ComboBox2->lineEdit(), "Ime"}, std::pair{ComboBox4->lineEdit(), "SrednjeIme"},
                                       std::pair{ComboBox3->lineEdit(), "Priimek"}})
        edit->setMaxLength(persons->column(QString::fromLatin1(column))->size);

    addRow(tr("Podjetje:"), {CheckBox1});
    addRow(tr("Šifra:"), {Edit1});
    // The company name lies over the title in the same place.
    auto *titleOrName = new QWidget(this);
    m_titleOrName = new QStackedLayout(titleOrName);
    m_titleOrName->setContentsMargins(0, 0, 0, 0);
    m_titleOrName->addWidget(ComboBox1);
    m_titleOrName->addWidget(Edit2);
    addRow(tr("Naziv:"), {titleOrName});
    m_firstLabel = addRow(tr("Ime:"), {ComboBox2, ComboBox4});
    m_surnameLabel = addRow(tr("Priimek:"), {ComboBox3});
    fieldGrid()->setColumnMinimumWidth(1, 140);
    fieldGrid()->setColumnMinimumWidth(2, 110);
    setTabOrder(CheckBox1, Edit1);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, ComboBox1);
    setTabOrder(ComboBox1, ComboBox2);
    setTabOrder(ComboBox2, ComboBox4);
    setTabOrder(ComboBox4, ComboBox3);
    setFirstField(Edit1);

    connect(CheckBox1, &QCheckBox::toggled, this, &TFDodajOsebo::CheckBox1Click);
    for (NameComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
        connect(box->lineEdit(), &QLineEdit::textEdited, box, &NameComboBox::capitalise);
}

void TFDodajOsebo::CheckBox1Click()
{
    const bool company = CheckBox1->isChecked();
    for (QWidget *personField : {static_cast<QWidget *>(ComboBox2), static_cast<QWidget *>(ComboBox4),
                                 static_cast<QWidget *>(ComboBox3), static_cast<QWidget *>(m_firstLabel),
                                 static_cast<QWidget *>(m_surnameLabel)})
        personField->setVisible(!company);
    m_titleOrName->setCurrentWidget(company ? static_cast<QWidget *>(Edit2) : static_cast<QWidget *>(ComboBox1));
}

void TFDodajOsebo::showEvent(QShowEvent *event)
{
    CheckBox1Click();
    EntryDialog::showEvent(event);
}

bool TFDodajOsebo::canConfirm() const
{
    // A person needs a first name and a company a name.
    return !(CheckBox1->isChecked() ? Edit2->text() : ComboBox2->currentText()).trimmed().isEmpty();
}

int TFDodajOsebo::ShowAddPersonDialog(bool isCompany, const QStringList &titles, const QStringList &firstNames,
                                      const QStringList &middleNames, const QStringList &surnames)
{
    setList(ComboBox1, titles);
    setList(ComboBox2, firstNames);
    setList(ComboBox3, surnames);
    setList(ComboBox4, middleNames);
    CheckBox1->setChecked(isCompany);
    Edit2->clear();
    Edit1->clear();
    // A row the database refuses (a full name longer than it keeps, say) is told, and
    // the dialog comes back with everything as typed.
    while (exec() == QDialog::Accepted) {
        try {
            return appendRow();
        } catch (const DatabaseError &error) {
            ShowMessageBox(QString::fromStdString(error.what()), 0);
        }
    }
    return 0;
}

int TFDodajOsebo::appendRow()
{
    Dataset *persons = DataMod->TOsnovniPod;
    if (!persons->isOpen())
        persons->open();
    const bool company = CheckBox1->isChecked();
    const QString title = ComboBox1->currentText(), first = ComboBox2->currentText(), middle = ComboBox4->currentText(),
                  surname = ComboBox3->currentText();
    persons->append();
    persons->setValue(QStringLiteral("Podjetje"), company ? QStringLiteral("True") : QStringLiteral("False"));
    persons->setValue(QStringLiteral("Sifra"), TextToVariant(Edit1->text()));
    persons->setValue(QStringLiteral("Naziv"), TextToVariant(title));
    persons->setValue(QStringLiteral("Ime"), TextToVariant(first));
    persons->setValue(QStringLiteral("SrednjeIme"), TextToVariant(middle));
    persons->setValue(QStringLiteral("Priimek"), TextToVariant(surname));
    // The full name from the values as stored: a part left empty counts as empty text.
    const auto stored = [](const QString &text) { return TextToVariant(text).toString(); };
    const QString fullName = company ? Edit2->text() : ComposeFullName(stored(title), stored(first), stored(middle), stored(surname));
    persons->setValue(QStringLiteral("CelotnoIme"), fullName.isEmpty() ? QVariant() : QVariant(fullName));
    persons->postOrCancel();
    return persons->value(QStringLiteral("ID")).toInt();
}
