#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

class QCheckBox;
class NameComboBox;
class QLabel;
class QLineEdit;
class QStackedLayout;

// "Dodaj osebo": the small dialog in which a new person or company is entered. The row
// is added only when a person has a first name, or a company a name.
class TFDodajOsebo : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDodajOsebo(QWidget *parent = nullptr);

    // Shows the dialog with the known name lists, adds the row and returns its ID, or 0
    // when the user cancelled.
    int ShowAddPersonDialog(bool isCompany, const QStringList &titles, const QStringList &firstNames,
                            const QStringList &middleNames, const QStringList &surnames);

    QCheckBox *CheckBox1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    NameComboBox *ComboBox1;
    NameComboBox *ComboBox2;
    NameComboBox *ComboBox3;
    NameComboBox *ComboBox4;

protected:
    bool canConfirm() const override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void CheckBox1Click();
    int appendRow();

    QLabel *m_firstLabel;
    QLabel *m_surnameLabel;
    QStackedLayout *m_titleOrName;
    SoleInstance<TFDodajOsebo> m_instance;
};

extern TFDodajOsebo *FDodajOsebo;
