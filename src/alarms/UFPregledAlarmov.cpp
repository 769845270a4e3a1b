#include "UFPregledAlarmov.h"

#include "AlertDate.h"
#include "ButtonStrip.h"
#include "ColourScheme.h"
#include "Dataset.h"
#include "DatasetDelegate.h"
#include "DatasetModel.h"
#include "FlatButton.h"
#include "PublicFunctions.h"
#include "Schema.h"
#include "UDataMod.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QTableView>
#include <QVBoxLayout>

TFPregledAlarmov *FPregledAlarmov = nullptr;

namespace {

QString field(const char *name)
{
    return QString::fromLatin1(name);
}

// Up to 31 December 1899 (the original engine's date 1.0) a stamp counts as never set.
bool isSet(const QVariant &stamp)
{
    return !stamp.isNull() && stamp.toDateTime() > QDateTime(QDate(1899, 12, 31), QTime(0, 0));
}

}

TFPregledAlarmov::TFPregledAlarmov(QWidget *parent)
    : QDialog(parent, Qt::Tool)
    , m_instance(FPregledAlarmov, this)
{
    setObjectName(QStringLiteral("FPregledAlarmov"));
    setWindowTitle(tr("Pregled alarmov"));
    resize(460, 240);

    ADOQuery1 = new Dataset(&DataMod->database(), QString(), this);
    ADOQuery1->setObjectName(QStringLiteral("ADOQuery1"));
    ADOQuery1->setSqlLines(
        {QStringLiteral("SELECT TOsnovniPod.CelotnoIme, TOsnovniPodVezaAlarmi.*, TEventAlarms.NazivAlarma, TEventAlarms.Ikona, "
                        "TEventAlarms.BackColor, TEventAlarms.FontColor, TEventAlarms.Flashing, TEventAlarms.AlertType"),
         QStringLiteral("FROM (TOsnovniPodVezaAlarmi INNER JOIN TOsnovniPod ON TOsnovniPodVezaAlarmi.IDOsebe = TOsnovniPod.ID) "
                        "INNER JOIN TEventAlarms ON TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID;")});
    ADOQuery1->setReadOnly(true);
    // Every alarm's date at the one moment of the check, also when the list is read again.
    ADOQuery1->addCalculatedField(field("CalcAlertDate"), [this](const Dataset &alarms, int row) -> QVariant {
        const auto value = [&alarms, row](const char *name) { return alarms.rawValue(row, alarms.fieldIndex(field(name))); };
        const QDateTime alert = CalcAlertDate(value("DatumCas").toDateTime(), value("AlertType").toInt(),
                                              value("AlertDaysBefore").toInt(), m_now);
        return alert.isValid() ? QVariant(alert) : QVariant();
    });
    // What the check found is what the window lists, however often it is read again.
    ADOQuery1->setRowFilter([this](const Dataset &alarms, int row) {
        return m_due.contains(alarms.rawValue(row, alarms.fieldIndex(field("ID"))).toLongLong());
    });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setWordWrap(false);
    DBGrid1->horizontalHeader()->hide();
    DBGrid1->verticalHeader()->hide();
    DBGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    DBGrid1->verticalHeader()->setDefaultSectionSize(DBGrid1->fontMetrics().height() + 4);
    DBGrid1->setItemDelegate(new DatasetDelegate(DBGrid1));
    QPalette grid = DBGrid1->palette();
    grid.setColor(QPalette::Base, ColourScheme.CT_WBack);
    DBGrid1->setPalette(grid);
    layout->addWidget(DBGrid1, 1);

    m_model = new DatasetModel(ADOQuery1, this);
    m_model->setColumns({{field("CelotnoIme"), tr("Oseba")}, {field("DatumCas"), tr("Datum")}, {field("NazivAlarma"), tr("Alarm")}});
    m_model->attach(DBGrid1);
    DBGrid1->setColumnWidth(0, 127);
    DBGrid1->setColumnWidth(1, 150);
    DBGrid1->setColumnWidth(2, 150);

    auto *strip = new ButtonStrip(this);
    BitBtn1 = strip->addButton("BitBtn1", tr("&Zapri"), 1);
    layout->addWidget(strip);
    connect(BitBtn1, &FlatButton::clicked, this, &TFPregledAlarmov::close);

    m_hasDueAlarms = FormCreate();
}

bool TFPregledAlarmov::FormCreate()
{
    m_now = QDateTime::currentDateTime();
    QDateTime stamp = storedStamp();
    if (!stamp.isValid()) {
        // Never checked: only what is due today, not every alarm of the past.
        writeStamp();
        stamp = m_now;
    }

    // Only what the due date needs, read straight: the list itself is read when shown.
    const Database &database = DataMod->database();
    const Schema::Table *alarms = Schema::table(u"TOsnovniPodVezaAlarmi");
    const Schema::Column *date = alarms->column(QStringLiteral("DatumCas"));
    const QDate today = m_now.date();
    database.read(QStringLiteral("SELECT TOsnovniPodVezaAlarmi.ID, TOsnovniPodVezaAlarmi.DatumCas, TOsnovniPodVezaAlarmi.AlertDaysBefore, "
                                 "TEventAlarms.AlertType ") + ADOQuery1->sqlLines().at(1),
                  {}, [](const QStringList &) {},
                  [&](const QVariant *row) {
                      const QDateTime alert = CalcAlertDate(database.fromDatabase(date, row[1]).toDateTime(), VariantToInt(row[3]),
                                                            VariantToInt(row[2]), m_now);
                      if (IsAlarmDue(alert.date(), stamp, today))
                          m_due.insert(row[0].toLongLong());
                  });
    ADOQuery1->setFiltered(true);

    writeStamp();
    return !m_due.isEmpty();
}

QDateTime TFPregledAlarmov::storedStamp()
{
    Dataset *users = DataMod->TUsers;
    // Another workstation of the same user may have checked since the start.
    users->requery();
    if (!users->locate(field("IDUser"), DataMod->CurrentUserId()))
        return {};
    const QVariant stamp = users->value(field("LastAlarmEventsChecked"));
    return isSet(stamp) ? stamp.toDateTime() : QDateTime();
}

void TFPregledAlarmov::writeStamp()
{
    // Written by its key rather than posted: the stamp is this check's to overwrite, also
    // when another workstation of the user wrote it meanwhile.
    Database &database = DataMod->database();
    const QVariantMap values = {{field("now"), m_now}, {field("user"), DataMod->CurrentUserId()}};
    QSqlQuery written =
        database.run(QStringLiteral("UPDATE TUsers SET LastAlarmEventsChecked = :now WHERE IDUser = :user"), values);
    // The installed database has the user's row; a missing one is made again rather than
    // leaving the alarms unchecked.
    if (written.numRowsAffected() == 0) {
        QVariantMap row = values;
        row.insert(field("name"), tr("Uporabnik"));
        database.run(QStringLiteral("INSERT INTO TUsers (IDUser, UserName, LastAlarmEventsChecked) VALUES (:user, :name, :now)"),
                     row);
    }
    DataMod->TUsers->requery();
}

void TFPregledAlarmov::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TFPregledAlarmov::hideEvent(QHideEvent *event)
{
    FormHide();
    QDialog::hideEvent(event);
}

void TFPregledAlarmov::FormShow()
{
    // Read again for the persons' names as they are now; the filter keeps the check's rows.
    if (ADOQuery1->isOpen())
        ADOQuery1->requery();
    else
        ADOQuery1->open();
}

void TFPregledAlarmov::FormHide()
{
    ADOQuery1->close();
}
