#pragma once

#include "EntryDialog.h"
#include "SoleInstance.h"

#include <QDate>

class DateBox;
class QPlainTextEdit;

// "Dodaj / uredi opombo": a person's note, its text and its date. Confirming waits for
// a text; a note without a date is dated today.
class TFDUOpomba : public EntryDialog
{
    Q_OBJECT
public:
    explicit TFDUOpomba(QWidget *parent = nullptr);

    // Shows the dialog with the caption and presets; true when the user confirmed.
    bool ask(const QString &caption, const QDate &date, const QString &text);
    QDate date() const;
    QString text() const;

    QPlainTextEdit *Memo1;
    DateBox *DateEdit1;

protected:
    bool canConfirm() const override;
    void showEvent(QShowEvent *event) override;

public Q_SLOTS:
    void accept() override;

private:
    SoleInstance<TFDUOpomba> m_instance;
};

extern TFDUOpomba *FDUOpomba;
