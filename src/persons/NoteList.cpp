#include "NoteList.h"

#include "DatasetBinder.h"
#include "DateBox.h"
#include "FlatButton.h"
#include "UFDUOpomba.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

NoteList::NoteList(SectionPanel *section, const bool &windowReady, QObject *parent)
    : SubRecordList({"ADOQuery2",
                     {QStringLiteral("SELECT TOsnovniPodVezaOpombe.*"), QStringLiteral("FROM TOsnovniPodVezaOpombe"),
                      QStringLiteral("WHERE (((TOsnovniPodVezaOpombe.IDOsebe)=:IDOsebe ))"),
                      QStringLiteral("ORDER BY TOsnovniPodVezaOpombe.Sort;")},
                     "TOsnovniPodVezaOpombe",
                     {QStringLiteral("Value")},
                     nullptr,
                     true,
                     110,
                     2},
                    section, windowReady, parent)
{
    connect(addButton("FlatButton5", tr("Uredi"), tr("Uredi opombo")), &FlatButton::clicked, this, &NoteList::FlatButton5Click);
    connect(addButton("FlatButton6", tr("Briši"), tr("Izbriši opombo")), &FlatButton::clicked, this, &NoteList::FlatButton6Click);
    connect(addButton("FlatButton7", tr("Dodaj"), tr("Dodaj opombo")), &FlatButton::clicked, this, &NoteList::FlatButton7Click);
}

void NoteList::buildRow(QWidget *row, DatasetBinder *binder)
{
    auto *layout = new QVBoxLayout(row);
    // The text fills the row but for 20 pixels on the right.
    layout->setContentsMargins(4, 3, 20, 3);
    layout->setSpacing(2);
    auto *date = new DateBox("DBDateEdit2", tr("Datum opombe"), row);
    date->setMaximumWidth(130);
    binder->bind(date, QStringLiteral("Datum"));
    auto *text = new QPlainTextEdit(row);
    text->setObjectName(QStringLiteral("DBMemo2"));
    text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text->setTabChangesFocus(true);
    binder->bind(text, QStringLiteral("Value"));
    layout->addWidget(date);
    layout->addWidget(text, 1);
}

void NoteList::doubleClicked()
{
    if (m_query->isOpen() && !m_query->isEmpty())
        FlatButton5Click();
    else
        FlatButton7Click();
}

void NoteList::FlatButton7Click()
{
    m_query->checkBrowseMode();
    if (!FDUOpomba->ask(tr("Dodaj opombo"), QDate::currentDate(), QString()))
        return;
    const int notes = m_query->recordCount();
    m_query->append();
    m_query->setValue(QStringLiteral("IDOsebe"), personId());
    m_query->setValue(QStringLiteral("Sort"), notes + 1);
    m_query->setValue(QStringLiteral("Datum"), FDUOpomba->date().startOfDay());
    m_query->setValue(QStringLiteral("Value"), FDUOpomba->text());
    m_query->postOrCancel();
    requeryAt(m_query->value(QStringLiteral("ID")));
}

void NoteList::FlatButton5Click()
{
    if (!m_query->isOpen() || m_query->isEmpty())
        return;
    m_query->checkBrowseMode();
    if (!FDUOpomba->ask(tr("Uredi opombo"), m_query->value(QStringLiteral("Datum")).toDate(),
                        m_query->value(QStringLiteral("Value")).toString()))
        return;
    m_query->setValue(QStringLiteral("Datum"), FDUOpomba->date().startOfDay());
    m_query->setValue(QStringLiteral("Value"), FDUOpomba->text());
    m_query->post();
    requeryAt(m_query->value(QStringLiteral("ID")));
}
