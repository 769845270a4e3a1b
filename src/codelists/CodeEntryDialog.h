#pragma once

#include "EntryDialog.h"

class LookupComboBox;
class QLineEdit;

// The dialogs that add a country, region or place: a name, a short text (abbreviation or
// postal code) and, for regions and places, the country. The texts are taken as typed.
class CodeEntryDialog : public EntryDialog
{
    Q_OBJECT
public:
    struct Texts
    {
        QString caption;
        QString nameHint;
        QString secondLabel;
        QString secondHint;
        QString countryHint; // empty: no country
    };

    CodeEntryDialog(const QString &objectName, const Texts &texts, QWidget *parent = nullptr);

    void preset(const QString &name, const QString &second, int country);
    QString name() const;
    QString second() const;
    // The chosen country, 0 for none.
    int country() const;

    QLineEdit *Edit1;
    QLineEdit *Edit2;
    LookupComboBox *DBLookupComboBox1 = nullptr;

protected:
    bool canConfirm() const override;
    void showEvent(QShowEvent *event) override;

private:
    void refreshCountries(bool reopen);
};
