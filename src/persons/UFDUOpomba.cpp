#include "UFDUOpomba.h"

#include "DateBox.h"
#include "Schema.h"
#include "TextLengthLimit.h"

#include <QPlainTextEdit>

TFDUOpomba *FDUOpomba = nullptr;

TFDUOpomba::TFDUOpomba(QWidget *parent)
    : EntryDialog(QStringLiteral("FDUOpomba"), tr("Dodaj / uredi opombo"), parent)
    , m_instance(FDUOpomba, this)
{
    DateEdit1 = new DateBox("DateEdit1", tr("Datum opombe"), this);
    addRow(tr("Datum:"), {DateEdit1});
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->setMinimumSize(320, 140);
    LimitTextLength(Memo1, Schema::table(u"TOsnovniPodVezaOpombe")->column(QStringLiteral("Value"))->size);
    addRow(tr("Opomba:"), {Memo1});
    setFirstField(Memo1);
}

bool TFDUOpomba::ask(const QString &caption, const QDate &date, const QString &text)
{
    setWindowTitle(caption);
    DateEdit1->choose(date);
    Memo1->setPlainText(text);
    return exec() == QDialog::Accepted;
}

QDate TFDUOpomba::date() const
{
    return DateEdit1->chosenDate();
}

QString TFDUOpomba::text() const
{
    return Memo1->toPlainText();
}

void TFDUOpomba::showEvent(QShowEvent *event)
{
    DateEdit1->todayWhenEmpty();
    EntryDialog::showEvent(event);
}

void TFDUOpomba::accept()
{
    DateEdit1->todayWhenEmpty();
    EntryDialog::accept();
}

bool TFDUOpomba::canConfirm() const
{
    return !Memo1->toPlainText().trimmed().isEmpty();
}
