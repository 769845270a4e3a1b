#include "PersonCategories.h"

#include "CategoryCheckList.h"
#include "ColourScheme.h"
#include "Dataset.h"
#include "PictureFiles.h"
#include "SectionPanel.h"
#include "UDataMod.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLayout>
#include <QPainter>

PersonCategories::PersonCategories(SectionPanel *section, QLabel *strip, const bool &windowReady, QObject *parent)
    : QObject(parent)
    , Image1(strip)
    , m_windowReady(windowReady)
{
    ADOQuery4 = new Dataset(&DataMod->database(), QString(), this);
    ADOQuery4->setObjectName(QStringLiteral("ADOQuery4"));
    ADOQuery4->setSqlLines({QStringLiteral("SELECT TOsnovniPodVezaKategorje.*, TKategorije.Naziv, TKategorije.IkonaPath"),
                            QStringLiteral("FROM TKategorije INNER JOIN TOsnovniPodVezaKategorje ON TKategorije.IDkat = "
                                           "TOsnovniPodVezaKategorje.IDkat"),
                            QStringLiteral("WHERE (((TOsnovniPodVezaKategorje.IDOsebe)=:IDOsebe ))"),
                            QStringLiteral("ORDER BY TKategorije.Naziv;")});
    ADOQuery4->setUpdateTable(QStringLiteral("TOsnovniPodVezaKategorje"));

    OsebaKategorije = new CategoryCheckList(false, section->data());
    OsebaKategorije->setObjectName(QStringLiteral("OsebaKategorije"));
    section->data()->layout()->addWidget(OsebaKategorije);
    OsebaKategorije->installEventFilter(this);
    connect(OsebaKategorije, &QListWidget::itemChanged, this, &PersonCategories::OsebaKategorijeClickCheck);
}

void PersonCategories::load(const QVariant &personId)
{
    ADOQuery4->setParameter(QStringLiteral("IDOsebe"), personId);
    ADOQuery4->isOpen() ? ADOQuery4->requery() : ADOQuery4->open();
    ShowPersonCategories();
}

void PersonCategories::OsebaKategorijeEnter()
{
    DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), ADOQuery4, QStringLiteral("ID"), m_windowReady, QStringLiteral("TKategorije"));
    // The list is filled from the categories' lookup, which must be as fresh.
    DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), DataMod->QKategorijeLookup, QString(), m_windowReady,
                              QStringLiteral("TKategorije"));
    OsebaKategorije->FillCategoryList(DataMod->QKategorijeLookup, false);
    ShowPersonCategories();
}

void PersonCategories::ShowPersonCategories()
{
    OsebaKategorije->untickAll();
    QStringList names;
    const int rows = ADOQuery4->isOpen() ? ADOQuery4->recordCount() : 0;
    QPixmap strip(qMax(Image1->width(), 4 + 18 * rows), 20);
    strip.fill(ColourScheme.CT_WTitleBack);
    if (ADOQuery4->isOpen() && !ADOQuery4->isEmpty()) {
        QPainter painter(&strip);
        const int category = ADOQuery4->fieldIndex(QStringLiteral("IDkat"));
        const int name = ADOQuery4->fieldIndex(QStringLiteral("Naziv"));
        const int picture = ADOQuery4->fieldIndex(QStringLiteral("IkonaPath"));
        int x = 2;
        // The rows are read where they are: the current one stays.
        for (int recNo = 1; recNo <= rows; ++recNo) {
            if (QListWidgetItem *item = OsebaKategorije->itemOf(ADOQuery4->valueAt(recNo, category).toString())) {
                const QSignalBlocker blocker(OsebaKategorije);
                item->setCheckState(Qt::Checked);
            }
            names << ADOQuery4->valueAt(recNo, name).toString();
            const QPixmap icon = PictureFile(QStringLiteral("Kategorije"), ADOQuery4->valueAt(recNo, picture).toString());
            if (icon.isNull())
                continue;
            painter.fillRect(QRect(x, 2, 18, 18), ColourScheme.CT_WBack);
            painter.setPen(QColor(0, 0, 128));
            painter.drawRect(QRect(x, 2, 17, 17));
            painter.drawPixmap(QRect(x + 1, 3, 16, 16), icon);
            x += 18;
        }
    }
    Image1->setPixmap(strip);
    Image1->setToolTip(names.isEmpty() ? tr("Za osebo ni določene nobene kategorije!") : names.join(QLatin1Char('\n')));
}

void PersonCategories::OsebaKategorijeClickCheck(QListWidgetItem *item)
{
    bool ok = false;
    const int category = CategoryCheckList::itemField(item, 1).toInt(&ok);
    if (ok && category > 0)
        setMembership(category, item->checkState() == Qt::Checked);
}

void PersonCategories::toggleMembership(int category)
{
    const int field = ADOQuery4->fieldIndex(QStringLiteral("IDkat"));
    bool member = false;
    for (int recNo = 1; recNo <= ADOQuery4->recordCount() && !member; ++recNo)
        member = ADOQuery4->valueAt(recNo, field).toInt() == category;
    setMembership(category, !member);
}

void PersonCategories::setMembership(int category, bool member)
{
    if (category <= 0 || !ADOQuery4->isOpen())
        return;
    const QVariant person = ADOQuery4->parameter(QStringLiteral("IDOsebe"));
    const auto showStored = [this] {
        ADOQuery4->requery();
        ShowPersonCategories();
    };
    try {
        if (member) {
            ADOQuery4->append();
            ADOQuery4->setValue(QStringLiteral("IDOsebe"), person);
            ADOQuery4->setValue(QStringLiteral("IDkat"), category);
            ADOQuery4->postOrCancel();
        } else {
            DataMod->ExecuteWork(QStringLiteral("DELETE * FROM TOsnovniPodVezaKategorje WHERE ((IDOsebe=%1) AND (IDkat=%2));")
                                     .arg(person.toLongLong())
                                     .arg(category));
        }
    } catch (...) {
        // The list goes on showing what the database holds.
        showStored();
        throw;
    }
    showStored();
}

bool PersonCategories::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == OsebaKategorije && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            OsebaKategorijeEnter();
    }
    return QObject::eventFilter(watched, event);
}
