#include "UFDUOpomba.h"

#include "Schema.h"
#include "TextLengthLimit.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QPlainTextEdit>

TFDUOpomba *FDUOpomba = nullptr;

namespace {

// The date edit's floor, which stands for no date.
const QDate noDate(1899, 12, 31);

}

TFDUOpomba::TFDUOpomba(QWidget *parent)
    : EntryDialog(QStringLiteral("FDUOpomba"), tr("Dodaj / uredi opombo"), parent)
    , m_instance(FDUOpomba, this)
{
    DateEdit1 = new QDateEdit(this);
    DateEdit1->setObjectName(QStringLiteral("DateEdit1"));
    DateEdit1->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    DateEdit1->setCalendarPopup(true);
    DateEdit1->setMinimumDate(noDate);
    DateEdit1->setSpecialValueText(QStringLiteral(" "));
    DateEdit1->setToolTip(tr("Izberi iz koledarja"));
    DateEdit1->calendarWidget()->setWindowTitle(tr("Datum opombe"));
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
    DateEdit1->setDate(date.isValid() ? date : noDate);
    Memo1->setPlainText(text);
    return exec() == QDialog::Accepted;
}

QDate TFDUOpomba::date() const
{
    return DateEdit1->date() <= noDate ? QDate() : DateEdit1->date();
}

QString TFDUOpomba::text() const
{
    return Memo1->toPlainText();
}

void TFDUOpomba::dateTodayWhenEmpty()
{
    if (!date().isValid())
        DateEdit1->setDate(QDate::currentDate());
}

void TFDUOpomba::showEvent(QShowEvent *event)
{
    dateTodayWhenEmpty();
    EntryDialog::showEvent(event);
}

void TFDUOpomba::accept()
{
    dateTodayWhenEmpty();
    EntryDialog::accept();
}

bool TFDUOpomba::canConfirm() const
{
    return !Memo1->toPlainText().trimmed().isEmpty();
}
