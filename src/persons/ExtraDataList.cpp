#include "ExtraDataList.h"

#include "DatasetBinder.h"
#include "FlatButton.h"
#include "RecordRowList.h"

#include <QHBoxLayout>
#include <QLineEdit>

ExtraDataList::ExtraDataList(SectionPanel *section, const bool &windowReady, QObject *parent)
    : SubRecordList({"ADOQuery3",
                     {QStringLiteral("SELECT TOsnovniPodDodatno.*"), QStringLiteral("FROM TOsnovniPodDodatno"),
                      QStringLiteral("WHERE (((TOsnovniPodDodatno.IDOsebe)=:IDOsebe ))"),
                      QStringLiteral("ORDER BY TOsnovniPodDodatno.Sort;")},
                     "TOsnovniPodDodatno",
                     {QStringLiteral("Value"), QStringLiteral("Polje")},
                     nullptr,
                     false,
                     22,
                     1},
                    section, windowReady, parent)
{
    connect(addButton("FlatButton9", tr("Briši"), tr("Izbriši podatek")), &FlatButton::clicked, this, &ExtraDataList::FlatButton9Click);
    connect(addButton("FlatButton10", tr("Dodaj"), tr("Dodaj podatek")), &FlatButton::clicked, this, &ExtraDataList::FlatButton10Click);
    connect(m_query, &Dataset::afterInsert, this, &ExtraDataList::ADOQuery3AfterInsert);
    connect(m_query, &Dataset::afterPost, this, &ExtraDataList::ADOQuery3AfterPost);
}

void ExtraDataList::buildRow(QWidget *row, DatasetBinder *binder)
{
    auto *layout = new QHBoxLayout(row);
    // The value ends 20 pixels before the row's right edge.
    layout->setContentsMargins(4, 1, 20, 1);
    auto *name = new QLineEdit(row);
    name->setObjectName(QStringLiteral("DBEdit9"));
    binder->bind(name, QStringLiteral("Polje"));
    auto *value = new QLineEdit(row);
    value->setObjectName(QStringLiteral("DBEdit10"));
    binder->bind(value, QStringLiteral("Value"));
    layout->addWidget(name, 1);
    layout->addWidget(value, 2);
}

void ExtraDataList::FlatButton10Click()
{
    m_query->append();
    if (QWidget *row = list()->row(m_query->recNo()))
        row->findChild<QLineEdit *>(QStringLiteral("DBEdit9"))->setFocus();
}

void ExtraDataList::ADOQuery3AfterInsert()
{
    // The new row counts among the rows already.
    m_query->setValue(QStringLiteral("Sort"), m_query->recordCount());
    m_query->setValue(QStringLiteral("IDOsebe"), personId());
}

void ExtraDataList::ADOQuery3AfterPost()
{
    const QString pair = m_query->value(QStringLiteral("Polje")).toString() + m_query->value(QStringLiteral("Value")).toString();
    if (pair.trimmed().isEmpty())
        m_query->deleteRecord();
}
