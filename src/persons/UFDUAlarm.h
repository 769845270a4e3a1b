#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

#include <QDate>

class LookupComboBox;
class DateBox;
class QLineEdit;
class QSpinBox;
class TypeLookup;

// "Dodaj / uredi alarm": a person's alarm, its type, the text it shows, its date and how
// many days before it warns. Confirming waits for a type; an alarm without a date is
// dated today.
class TFDUAlarm : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDUAlarm(QWidget *parent = nullptr);

    // Shows the dialog with the caption and presets; true when the user confirmed.
    bool ask(const QString &caption, const QVariant &type, const QString &text, const QDate &date, int daysBefore);
    int alarmType() const;
    QString text() const;
    QDate date() const;
    int daysBefore() const;

    LookupComboBox *RxDBLookupCombo1;
    QLineEdit *Edit1;
    DateBox *DateEdit1;
    QSpinBox *RxSpinEdit1;

public Q_SLOTS:
    void accept() override;

protected:
    bool canConfirm() const override;
    void showEvent(QShowEvent *event) override;

private:
    void RxDBLookupCombo1Change();

    TypeLookup *m_types;
    SoleInstance<TFDUAlarm> m_instance;
};

extern TFDUAlarm *FDUAlarm;
