#include "LinkedPrograms.h"

#include "Database.h"
#include "Dataset.h"
#include "FileIcon.h"
#include "ModuleHost.h"
#include "PublicFunctions.h"
#include "SectionPanel.h"
#include "UDataMod.h"

#include <QFocusEvent>
#include <QLayout>
#include <QListWidget>
#include <QSplitter>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

constexpr int ItemRole = Qt::UserRole;
// TSharingProgs keeps a program identifier in two characters.
constexpr int ProgIdWidth = 2;

QString field(const QListWidgetItem *item, int n)
{
    return GetToken(item->data(ItemRole).toString(), QStringLiteral(";"), n);
}

QString progIdOf(const QListWidgetItem *item)
{
    return field(item, 1);
}

QString moduleOf(const QListWidgetItem *item)
{
    return field(item, 4);
}

bool isOk(const QString &reply)
{
    return reply == QLatin1String("OK");
}

}

LinkedPrograms::LinkedPrograms(SectionPanel *section, Window window, const bool &windowReady, QObject *parent)
    : QObject(parent)
    , m_window(std::move(window))
    , m_windowReady(windowReady)
{
    ADOQuery6 = new Dataset(&DataMod->database(), QString(), this);
    ADOQuery6->setObjectName(QStringLiteral("ADOQuery6"));
    ADOQuery6->setSqlLines({QStringLiteral("SELECT *"), QStringLiteral("FROM TSharingProgs"),
                            QStringLiteral("WHERE ((IDOsebe=:IDOsebe ))"), QStringLiteral("ORDER BY ProgID;")});
    ADOQuery6->setUpdateTable(QStringLiteral("TSharingProgs"));
    connect(ADOQuery6, &Dataset::recordChangeComplete, this, &LinkedPrograms::ADOQuery6RecordChangeComplete);

    m_splitter = new QSplitter(Qt::Vertical, section->data());
    m_splitter->setObjectName(QStringLiteral("Splitter3"));
    m_splitter->setChildrenCollapsible(false);
    QLayout *body = section->data()->layout() ? section->data()->layout() : new QVBoxLayout(section->data());
    body->setContentsMargins(0, 0, 0, 0);
    body->addWidget(m_splitter);
    CheckListBoxOtherPrograms = new QListWidget(m_splitter);
    CheckListBoxOtherPrograms->setObjectName(QStringLiteral("CheckListBoxOtherPrograms"));
    CheckListBoxOtherPrograms->setIconSize(QSize(16, 16));
    CheckListBoxOtherPrograms->installEventFilter(this);
    Panel28 = new QStackedWidget(m_splitter);
    Panel28->setObjectName(QStringLiteral("Panel28"));
    Panel28->setMinimumHeight(60);
    Panel29 = new QWidget(Panel28);
    Panel29->setObjectName(QStringLiteral("Panel29"));
    Panel28->addWidget(Panel29);
    m_splitter->addWidget(CheckListBoxOtherPrograms);
    m_splitter->addWidget(Panel28);
    m_splitter->setStretchFactor(1, 1);

    connect(CheckListBoxOtherPrograms, &QListWidget::itemChanged, this, &LinkedPrograms::CheckListBoxOtherProgramsClickCheck);
    connect(CheckListBoxOtherPrograms, &QListWidget::itemClicked, this, &LinkedPrograms::ShowLinkedModule);
    connect(CheckListBoxOtherPrograms, &QListWidget::itemDoubleClicked, this, &LinkedPrograms::CheckListBoxOtherProgramsDblClick);
}

void LinkedPrograms::FillLinkedModuleList()
{
    const QSignalBlocker quiet(CheckListBoxOtherPrograms);
    CheckListBoxOtherPrograms->clear();
    for (const TPluginSpec &module : std::as_const(ModuleList())) {
        if (!IsLinkModule(module))
            continue;
        const QString progId = GetToken(module.OtherData, QStringLiteral(";"), 1).trimmed();
        // A module whose identifier the links cannot hold could never be linked.
        if (progId.isEmpty() || progId.size() > ProgIdWidth)
            continue;
        const QString title = GetToken(module.OtherData, QStringLiteral(";"), 2);
        auto *item = new QListWidgetItem(GetFileIcon(module.FileName, 0), title, CheckListBoxOtherPrograms);
        item->setData(ItemRole, QStringList{progId, QString::number(CheckListBoxOtherPrograms->count() - 1), title, module.Name}
                                    .join(QLatin1Char(';')));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

void LinkedPrograms::embedModuleWindows()
{
    for (int i = 0; i < CheckListBoxOtherPrograms->count(); ++i) {
        QWidget *child = nullptr;
        if (GetModuleChild(m_window.owner, Panel28, moduleOf(CheckListBoxOtherPrograms->item(i)), &child)
            && Panel28->indexOf(child) < 0)
            Panel28->addWidget(child);
    }
    Panel28->setCurrentWidget(Panel29);
}

void LinkedPrograms::RetryPendingUpdates()
{
    Dataset *pending = DataMod->tmpQuery;
    pending->close();
    pending->setSql(QStringLiteral("SELECT TSharingProgs.* FROM TSharingProgs WHERE (((TSharingProgs.WasNotRefreshed)=True)) "
                                   "ORDER BY TSharingProgs.ProgID;"));
    pending->open();
    bool confirmed = false;
    const int id = pending->fieldIndex(QStringLiteral("ID"));
    const int person = pending->fieldIndex(QStringLiteral("IDOsebe"));
    const int record = pending->fieldIndex(QStringLiteral("InProgIDOsebe"));
    const int progId = pending->fieldIndex(QStringLiteral("ProgID"));
    for (int recNo = 1; recNo <= pending->recordCount(); ++recNo) {
        // A row of a module not installed waits for it.
        const QListWidgetItem *item = itemOf(pending->valueAt(recNo, progId).toString());
        if (!item)
            continue;
        const QString command = QStringLiteral("UPDATE;%1;%2")
                                    .arg(pending->valueAt(recNo, person).toString(), pending->valueAt(recNo, record).toString());
        if (!isOk(send(moduleOf(item), command)))
            continue;
        DataMod->database().run(QStringLiteral("UPDATE TSharingProgs SET WasNotRefreshed = False WHERE ID = :ID;"),
                                {{QStringLiteral("ID"), pending->valueAt(recNo, id)}});
        confirmed = true;
    }
    pending->close();
    pending->setSql(QString());
    if (confirmed)
        DataMod->MarkTableChanged(QStringLiteral("TSharingProgs"));
}

void LinkedPrograms::load(const QVariant &personId)
{
    ADOQuery6->setParameter(QStringLiteral("IDOsebe"), personId);
    ADOQuery6->isOpen() ? ADOQuery6->requery() : ADOQuery6->open();
    TickLinkedModules();
    if (m_window.sectionShown && m_window.sectionShown())
        ShowLinkedModule();
}

void LinkedPrograms::TickLinkedModules()
{
    const QSignalBlocker quiet(CheckListBoxOtherPrograms);
    for (int i = 0; i < CheckListBoxOtherPrograms->count(); ++i)
        CheckListBoxOtherPrograms->item(i)->setCheckState(Qt::Unchecked);
    if (!ADOQuery6->isOpen())
        return;
    const int progId = ADOQuery6->fieldIndex(QStringLiteral("ProgID"));
    for (int recNo = 1; recNo <= ADOQuery6->recordCount(); ++recNo)
        if (QListWidgetItem *item = itemOf(ADOQuery6->valueAt(recNo, progId).toString()))
            item->setCheckState(Qt::Checked);
}

QListWidgetItem *LinkedPrograms::itemOf(const QString &progId) const
{
    for (int i = 0; i < CheckListBoxOtherPrograms->count(); ++i)
        if (progIdOf(CheckListBoxOtherPrograms->item(i)) == progId)
            return CheckListBoxOtherPrograms->item(i);
    return nullptr;
}

int LinkedPrograms::linkedRecordNo(const QString &progId) const
{
    if (!ADOQuery6->isOpen())
        return 0;
    const int field = ADOQuery6->fieldIndex(QStringLiteral("ProgID"));
    for (int recNo = 1; recNo <= ADOQuery6->recordCount(); ++recNo)
        if (ADOQuery6->valueAt(recNo, field).toString() == progId)
            return recNo;
    return 0;
}

QString LinkedPrograms::send(const QString &moduleName, const QString &command) const
{
    return ExecuteModuleCommand(m_window.owner, Panel28, moduleName, command);
}

void LinkedPrograms::ShowLinkedModule()
{
    const QListWidgetItem *item = CheckListBoxOtherPrograms->currentItem();
    if (!item)
        return;
    QWidget *child = nullptr;
    if (!GetModuleChild(m_window.owner, Panel28, moduleOf(item), &child) || !child) {
        Panel28->setCurrentWidget(Panel29);
        return;
    }
    if (Panel28->indexOf(child) < 0)
        Panel28->addWidget(child);
    const int recNo = linkedRecordNo(progIdOf(item));
    const QString record = recNo > 0 ? ADOQuery6->valueAt(recNo, ADOQuery6->fieldIndex(QStringLiteral("InProgIDOsebe"))).toString()
                                     : QStringLiteral("0");
    RefreshModuleChild(moduleOf(item), QStringLiteral("REFRESH;%1;%2").arg(m_window.personId().toString(), record));
    Panel28->setCurrentWidget(child);
}

void LinkedPrograms::CheckListBoxOtherProgramsClickCheck(QListWidgetItem *item)
{
    CheckListBoxOtherPrograms->setCurrentItem(item);
    const QVariant person = m_window.personId();
    const QString progId = progIdOf(item);
    if (person.isNull() || !ADOQuery6->isOpen()) {
        TickLinkedModules();
        return;
    }
    if (item->checkState() == Qt::Checked) {
        m_window.formDeactivate();
        bool ok = false;
        const int record = send(moduleOf(item), QStringLiteral("APPEND;") + person.toString()).toInt(&ok);
        if (ok && record >= 1) {
            m_window.formActivate();
            ADOQuery6->append();
            ADOQuery6->setValue(QStringLiteral("IDOsebe"), person);
            ADOQuery6->setValue(QStringLiteral("ProgID"), progId);
            ADOQuery6->setValue(QStringLiteral("InProgIDOsebe"), record);
            ADOQuery6->setValue(QStringLiteral("WasNotRefreshed"), false);
            ADOQuery6->postOrCancel();
        }
    } else if (const int recNo = linkedRecordNo(progId); recNo > 0) {
        m_window.formDeactivate();
        const QString record = ADOQuery6->valueAt(recNo, ADOQuery6->fieldIndex(QStringLiteral("InProgIDOsebe"))).toString();
        const QString reply = send(moduleOf(item), QStringLiteral("DELETE;%1;%2").arg(person.toString(), record));
        if (!isOk(reply)) {
            ShowMessageBox(tr("Povezave na osebo ni bilo mogoče izbrisati!") + QLatin1Char('\n') + reply, 0);
        } else {
            m_window.formActivate();
            ADOQuery6->moveTo(recNo);
            ADOQuery6->deleteRecord();
        }
    }
    // The ticks show the links stored, whatever the module answered.
    TickLinkedModules();
    ShowLinkedModule();
}

void LinkedPrograms::CheckListBoxOtherProgramsDblClick(QListWidgetItem *item)
{
    const int recNo = linkedRecordNo(progIdOf(item));
    if (recNo <= 0)
        return;
    m_window.formDeactivate();
    const QString record = ADOQuery6->valueAt(recNo, ADOQuery6->fieldIndex(QStringLiteral("InProgIDOsebe"))).toString();
    send(moduleOf(item), QStringLiteral("EDIT;%1;%2").arg(m_window.personId().toString(), record));
    ShowLinkedModule();
}

void LinkedPrograms::NotifyLinkedModules()
{
    if (!ADOQuery6->isOpen())
        return;
    const QString person = m_window.personId().toString();
    for (int recNo = 1; recNo <= ADOQuery6->recordCount(); ++recNo) {
        ADOQuery6->moveTo(recNo);
        const QListWidgetItem *item = itemOf(ADOQuery6->value(QStringLiteral("ProgID")).toString());
        const QString reply = item ? send(moduleOf(item), QStringLiteral("UPDATE;%1;%2").arg(
                                                                person, ADOQuery6->value(QStringLiteral("InProgIDOsebe")).toString()))
                                   : QString();
        ADOQuery6->edit();
        ADOQuery6->setValue(QStringLiteral("WasNotRefreshed"), !isOk(reply));
        ADOQuery6->post();
    }
}

void LinkedPrograms::ADOQuery6RecordChangeComplete()
{
    DataMod->MarkTableChanged(QStringLiteral("TSharingProgs"));
    // The window's own change is no news to it.
    DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), ADOQuery6, QString(), false, QStringLiteral("TSharingProgs"));
}

void LinkedPrograms::CheckListBoxOtherProgramsEnter()
{
    if (DataMod->RefreshIfChanged(QStringLiteral("FVeldra"), ADOQuery6, QString(), m_windowReady, QStringLiteral("TSharingProgs")))
        TickLinkedModules();
}

void LinkedPrograms::destroyModuleWindows()
{
    for (int i = Panel28->count() - 1; i >= 0; --i) {
        QWidget *child = Panel28->widget(i);
        if (child == Panel29)
            continue;
        Panel28->removeWidget(child);
        delete child;
    }
}

bool LinkedPrograms::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CheckListBoxOtherPrograms && event->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            CheckListBoxOtherProgramsEnter();
    }
    return QObject::eventFilter(watched, event);
}
