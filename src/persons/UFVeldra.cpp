#include "UFVeldra.h"

#include "AlarmList.h"
#include "CategoryFilterPanel.h"
#include "ContactList.h"
#include "DatabaseError.h"
#include "DesignGrid.h"
#include "ExtraDataList.h"
#include "LinkedPrograms.h"
#include "NoteList.h"
#include "PanelDesign.h"
#include "PersonCategories.h"
#include "PersonRecordForm.h"
#include "PersonSearchPanel.h"
#include "SectionPanel.h"
#include "Settings.h"
#include "UDataMod.h"
#include "UFDodajOsebo.h"
#include "UFMain.h"
#include "WindowPlacement.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QSet>
#include <QSplitter>
#include <QStackedWidget>
#include <QTimer>

TFVeldra *FVeldra = nullptr;

namespace {

const QString keyFVeldra = QStringLiteral("Software\\Veldra\\FVeldra");

} // namespace

TFVeldra::TFVeldra(QWidget *parent)
    : QWidget(parent)
    , m_instance(FVeldra, this)
{
    setObjectName(QStringLiteral("FVeldra"));
    setWindowTitle(tr("Osebe"));
    FormCreate();
}

TFVeldra::~TFVeldra()
{
    FormDestroy();
}

void TFVeldra::FormCreate()
{
    // The keys, with the name they are ordered by, so that they can be put in order as read.
    QOsebe = new Dataset(&DataMod->database(), QStringLiteral("SELECT ID, CelotnoIme\nFROM TOsnovniPod\nORDER BY (CelotnoIme);"), this);
    QOsebe->setObjectName(QStringLiteral("QOsebe"));
    // The record area shows one person at a time: each person's row is read when it is shown.
    QOsebe->setRowStatement(QStringLiteral("ID"), QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"));
    QOsebe->setUpdateTable(QStringLiteral("TOsnovniPod"));
    QOsebe->setTracksChanges(true);
    QOsebe->setLocatedBy(QStringLiteral("ID"));
    QPregled = new Dataset(&DataMod->database(), QString(), this);
    QPregled->setObjectName(QStringLiteral("QPregled"));
    QPregled->setReadOnly(true);
    QPregled->setTracksChanges(true);
    QPregled->setLocatedBy(QStringLiteral("ID"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setToolTip(tr("Raztegni (skrij oz. prikaži) okno za iskanje"));
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1);
    m_search = new PersonSearchPanel(QPregled, WindowReady, [this] {
        return QOsebe->isOpen() && QOsebe->recNo() > 0 && !QOsebe->value(QStringLiteral("ID")).isNull();
    }, Splitter1);
    // The form's tabs, colours and name lists; the picture folders of the contact and
    // alarm icons are set with those lists.
    m_form = new PersonRecordForm(QOsebe, WindowReady, Splitter1);
    Splitter1->setStretchFactor(1, 1);
    // The sections placed by the layout value, in the sizes the grid had when last closed.
    m_form->designGrid()->restoreSizes(keyFVeldra);
    const QString design = PanelDesign::ReadPanelLayout();
    m_form->ApplyPanelLayout(PanelDesign::part(design, QLatin1Char('/'), 1), PanelDesign::part(design, QLatin1Char('/'), 2),
                             PanelDesign::part(design, QLatin1Char('/'), 3));
    m_contacts = new ContactList(m_form->section(QStringLiteral("PKontakt")), WindowReady, this);
    m_notes = new NoteList(m_form->section(QStringLiteral("POpombe")), WindowReady, this);
    m_extraData = new ExtraDataList(m_form->section(QStringLiteral("POstaliPodatki")), WindowReady, this);
    m_categories = new PersonCategories(m_form->section(QStringLiteral("PKategorija")), m_form->categoryStrip(), WindowReady, this);
    m_alarms = new AlarmList(m_form->section(QStringLiteral("PAlarmi")), WindowReady, this);
    SectionPanel *linkSection = m_form->section(QStringLiteral("PDrugiProgrami"));
    m_linked = new LinkedPrograms(linkSection,
                                  {this, [this] { FormDeactivate(); }, [this] { FormActivate(); },
                                   [this] { return currentPerson(); },
                                   [this, linkSection] { return m_form->isOnCurrentPage(linkSection); }},
                                  WindowReady, this);
    connect(m_form, &PersonRecordForm::pageChanged, this, [this, linkSection] {
        if (m_form->isOnCurrentPage(linkSection))
            m_linked->ShowLinkedModule();
    });
    // A person dropped onto a category of the filter joins it or leaves it; the list stays.
    connect(m_search->filter(), &CategoryFilterPanel::personDropped, m_categories, &PersonCategories::toggleMembership);
    connect(m_form, &PersonRecordForm::moveRequested, this, [this](PersonRecordForm::Move move) {
        switch (move) {
        case PersonRecordForm::Move::First: QPregled->first(); break;
        case PersonRecordForm::Move::Prior: QPregled->prior(); break;
        case PersonRecordForm::Move::Next: QPregled->next(); break;
        case PersonRecordForm::Move::Last: QPregled->last(); break;
        }
    });
    connect(m_form, &PersonRecordForm::addRequested, this, &TFVeldra::AddPerson);
    connect(m_form, &PersonRecordForm::deleteRequested, this, &TFVeldra::DeletePerson);
    connect(m_form, &PersonRecordForm::addCompanyRequested, this, &TFVeldra::AddCompany);

    connect(QOsebe, &Dataset::afterScroll, this, &TFVeldra::QOsebeAfterScroll);
    connect(QOsebe, &Dataset::afterOpen, this, &TFVeldra::QOsebeAfterOpen);
    connect(QOsebe, &Dataset::afterPost, this, &TFVeldra::QOsebeAfterPost);
    connect(QOsebe, &Dataset::recordChangeComplete, this, [] { DataMod->MarkTableChanged(QStringLiteral("TOsnovniPod")); });
    connect(QPregled, &Dataset::afterScroll, this, &TFVeldra::QPregledAfterScroll);
    QOsebe->open();

    // The lookups are registered, not read again, while the window is being made.
    m_form->refreshLookups();
    m_contacts->refreshLookup();
    m_alarms->refreshLookup();
    m_categories->OsebaKategorijeEnter();
    m_search->filter()->KategorijeCLBEnter();
    WindowReady = true;
    m_search->filter()->restoreStates();
    m_linked->FillLinkedModuleList();
    m_linked->embedModuleWindows();
    m_linked->RetryPendingUpdates();
    // The searches: the built-in ones, then those of the link modules.
    m_search->RxMemoryDataSearch = BuiltInSearches();
    for (const QString &item : BuiltInSearchItems())
        m_search->addSearchItem(item);
    m_search->AddModuleSearches(this, m_linked->modulePanel());
    // The first search, with the category filter's expression.
    m_search->BuildCategoryFilter();

    const int leftWidth = ReadRegInt(keyFVeldra, QStringLiteral("Panel1.Width"), 185);
    Splitter1->setSizes({qMax(50, leftWidth), 800});
    m_search->restoreLayout(keyFVeldra);
    const int moduleHeight = ReadRegInt(keyFVeldra, QStringLiteral("Panel28.Height"), 0);
    if (moduleHeight > 0)
        m_linked->splitter()->setSizes({qMax(20, m_linked->splitter()->height() - moduleHeight), moduleHeight});
}

QVariant TFVeldra::currentPerson() const
{
    return QOsebe->isOpen() && QOsebe->recNo() > 0 ? QOsebe->value(QStringLiteral("ID")) : QVariant();
}

QString TFVeldra::currentPersonId() const
{
    return currentPerson().toString();
}

QList<qint64> TFVeldra::listedPersonIds() const
{
    QList<qint64> ids;
    if (!QPregled->isOpen())
        return ids;
    const int field = QPregled->fieldIndex(QStringLiteral("ID"));
    QSet<qint64> seen;
    for (int recNo = 1; recNo <= QPregled->recordCount(); ++recNo) {
        const qint64 id = QPregled->valueAt(recNo, field).toLongLong();
        if (!seen.contains(id)) {
            seen.insert(id);
            ids.append(id);
        }
    }
    return ids;
}

void TFVeldra::destroyModuleWindows()
{
    m_linked->destroyModuleWindows();
}

QStringList TFVeldra::nameList(const QString &fieldName)
{
    return m_form->nameList(fieldName);
}

void TFVeldra::FormActivate()
{
    m_form->refreshLookups();
    // The links follow with their list.
    m_search->filter()->KategorijeCLBEnter();
    m_contacts->refreshLookup();
    m_alarms->refreshLookup();
    m_categories->OsebaKategorijeEnter();
    m_linked->CheckListBoxOtherProgramsEnter();
}

void TFVeldra::FormDeactivate()
{
    QOsebe->checkBrowseMode();
    for (SubRecordList *list : {static_cast<SubRecordList *>(m_contacts), static_cast<SubRecordList *>(m_notes),
                                static_cast<SubRecordList *>(m_extraData), static_cast<SubRecordList *>(m_alarms)})
        list->save();
    m_search->filter()->saveStates();
}

void TFVeldra::refreshKeepingPosition()
{
    if (!QPregled->isOpen() || !QPregled->hasField(QStringLiteral("ID")))
        return;
    const FrozenDisplay frozen{QOsebe, QPregled};
    const QVariant id = QPregled->value(QStringLiteral("ID"));
    // Read again only what may have changed: nothing is read when no one wrote meanwhile.
    const std::vector<bool> changed = Dataset::requeryIfChanged({QOsebe, QPregled});
    if (changed[0] || changed[1])
        QPregled->locate(QStringLiteral("ID"), id);
    if (changed[0])
        showRecordArea();
}

void TFVeldra::QPregledAfterScroll()
{
    if (QOsebe->isOpen() && QPregled->hasField(QStringLiteral("ID")) && QPregled->recNo() > 0)
        moveToPerson(QPregled->value(QStringLiteral("ID")));
}

void TFVeldra::moveToPerson(const QVariant &id)
{
    if (QOsebe->value(QStringLiteral("ID")) != id || QOsebe->state() != Dataset::State::Browse)
        QOsebe->locate(QStringLiteral("ID"), id);
}

void TFVeldra::QOsebeAfterScroll()
{
    const QString name = QOsebe->value(QStringLiteral("CelotnoIme")).toString();
    setWindowTitle(name.isEmpty() ? tr("Osebe") : name);
    m_form->showPerson();
    loadSubRecords();
    if (!QPregled->isOpen() || !QPregled->hasField(QStringLiteral("ID")) || QOsebe->recNo() == 0)
        return;
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    if (QPregled->value(QStringLiteral("ID")) != id)
        QPregled->locate(QStringLiteral("ID"), id);
}

void TFVeldra::loadSubRecords()
{
    const QVariant id = QOsebe->recNo() > 0 ? QOsebe->value(QStringLiteral("ID")) : QVariant();
    m_contacts->load(id);
    m_notes->load(id);
    m_extraData->load(id);
    m_categories->load(id);
    m_alarms->load(id);
    m_linked->load(id);
}

void TFVeldra::QOsebeAfterOpen()
{
    QOsebe->last();
    showRecordArea();
}

void TFVeldra::showRecordArea()
{
    m_form->showRecordArea(QOsebe->recordCount() > 0);
}

void TFVeldra::QOsebeAfterPost()
{
    m_form->addSavedNames();
    m_linked->NotifyLinkedModules();
    // The browse list is read again when it shows what was changed.
    const QString &SearchField = m_search->SearchField;
    if (!QPregled->isOpen() || QPregled->isEmpty() || !QPregled->hasField(QStringLiteral("ID"))
        || !QPregled->hasField(QStringLiteral("CelotnoIme")) || !QPregled->hasField(SearchField))
        return;
    const QString name = QOsebe->value(QStringLiteral("CelotnoIme")).toString();
    if (name == QPregled->value(QStringLiteral("CelotnoIme")).toString()
        && QOsebe->value(SearchField).toString() == QPregled->value(SearchField).toString())
        return;
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    {
        const FrozenDisplay frozen{QPregled};
        QPregled->requery();
        QPregled->locate(QStringLiteral("ID"), id);
    }
    setWindowTitle(name);
}

void TFVeldra::requeryPersons(const QVariant &id)
{
    {
        const FrozenDisplay frozen{QOsebe, QPregled};
        QOsebe->requery();
        showRecordArea();
        if (QPregled->isOpen())
            QPregled->requery();
        QOsebe->locate(QStringLiteral("ID"), id);
    }
    QOsebeAfterScroll();
}

int TFVeldra::showAddPersonDialog(bool isCompany) const
{
    // The dialog offers the names this window's lists know.
    const std::vector<QStringList> names = m_form->personNameLists();
    return FDodajOsebo->ShowAddPersonDialog(isCompany, names[0], names[1], names[2], names[3]);
}

bool TFVeldra::LocatePerson(const QString &id)
{
    bool ok = false;
    const qint64 key = id.trimmed().toLongLong(&ok);
    return ok && m_search->locatePerson(key);
}

void TFVeldra::AddPerson()
{
    FormDeactivate();
    const int id = showAddPersonDialog(false);
    if (id <= 0)
        return;
    requeryPersons(id);
}

void TFVeldra::AddCompany()
{
    const int id = showAddPersonDialog(true);
    if (id <= 0)
        return;
    m_form->refreshCompanies();
    m_form->refreshCompanies();
    QOsebe->setValue(QStringLiteral("IDPodjetja"), id);
    FormDeactivate();
    requeryPersons(QOsebe->value(QStringLiteral("ID")));
}

void TFVeldra::DeletePerson()
{
    const QVariant id = QOsebe->value(QStringLiteral("ID"));
    if (QOsebe->recNo() <= 0 || id.isNull() || id.toLongLong() <= 0)
        return;
    if (!DataMod->CanDeleteRecord(QStringLiteral("TOsnovniPod"), QOsebe))
        return;
    // The row before stays current (the next one when the first is deleted).
    QOsebe->prior();
    QVariant stay = QOsebe->value(QStringLiteral("ID"));
    if (stay == id && QOsebe->recordCount() > 1) {
        QOsebe->next();
        stay = QOsebe->value(QStringLiteral("ID"));
    }
    try {
        const FrozenDisplay frozen{QOsebe, QPregled};
        DataMod->DeletePerson(id.toLongLong());
    } catch (...) {
        QOsebe->locate(QStringLiteral("ID"), id);
        throw;
    }
    requeryPersons(stay);
}

void TFVeldra::closeEvent(QCloseEvent *event)
{
    // The person window never closes by itself: closing it closes the program.
    FormDeactivate();
    event->ignore();
    if (FMain)
        QTimer::singleShot(0, FMain, &QWidget::close);
}

void TFVeldra::FormDestroy()
{
    WriteRegString(keyFVeldra, QStringLiteral("Panel1.Width"), QString::number(m_search->width()));
    m_search->saveLayout(keyFVeldra);
    m_form->designGrid()->saveSizes(keyFVeldra);
    WriteRegString(keyFVeldra, QStringLiteral("Panel28.Height"), QString::number(m_linked->modulePanel()->height()));
    m_linked->destroyModuleWindows();
}

void TFVeldra::leave()
{
    FormDeactivate();
    // While the frame still exists: it is gone by the time the window is destroyed.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        WindowPlacement::save(frame, keyFVeldra);
}
