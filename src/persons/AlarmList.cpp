#include "AlarmList.h"

#include "AlertDate.h"
#include "ColourScheme.h"
#include "DatasetBinder.h"
#include "DateBox.h"
#include "FlatButton.h"
#include "PictureFiles.h"
#include "PublicFunctions.h"
#include "UFDUAlarm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSpinBox>
#include <QVBoxLayout>

AlarmList::AlarmList(SectionPanel *section, const bool &windowReady, QObject *parent)
    : SubRecordList({"ADOQuery5",
                     {QStringLiteral("SELECT TOsnovniPodVezaAlarmi.*, TEventAlarms.NazivAlarma, TEventAlarms.Ikona, TEventAlarms.AlertType"),
                      QStringLiteral("FROM TOsnovniPodVezaAlarmi INNER JOIN TEventAlarms ON TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID"),
                      QStringLiteral("WHERE (((TOsnovniPodVezaAlarmi.IDOsebe)=:IDOsebe ))"),
                      QStringLiteral("ORDER BY TOsnovniPodVezaAlarmi.DatumCas;")},
                     "TOsnovniPodVezaAlarmi",
                     {QStringLiteral("Value")},
                     "TEventAlarms",
                     true,
                     76,
                     1},
                    section, windowReady, parent)
{
    // Against the clock at the moment the row is read or saved.
    m_query->addCalculatedField(QStringLiteral("CalcAlertDate"), [](const Dataset &alarms, int row) -> QVariant {
        const QDateTime next = CalcAlertDate(alarms.rawValue(row, alarms.fieldIndex(QStringLiteral("DatumCas"))).toDateTime(),
                                             VariantToInt(alarms.rawValue(row, alarms.fieldIndex(QStringLiteral("AlertType")))),
                                             VariantToInt(alarms.rawValue(row, alarms.fieldIndex(QStringLiteral("AlertDaysBefore")))),
                                             QDateTime::currentDateTime());
        return next.isValid() ? QVariant(next) : QVariant();
    });
    connect(addButton("FlatButton13", tr("Uredi"), tr("Uredi alarm")), &FlatButton::clicked, this, &AlarmList::FlatButton13Click);
    connect(addButton("FlatButton14", tr("Briši"), tr("Izbriši alarm")), &FlatButton::clicked, this, &AlarmList::FlatButton14Click);
    connect(addButton("FlatButton15", tr("Dodaj"), tr("Dodaj alarm")), &FlatButton::clicked, this, &AlarmList::FlatButton15Click);
}

void AlarmList::buildRow(QWidget *row, DatasetBinder *binder)
{
    auto *layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    auto *grid = new QGridLayout;
    // The text and the next activation end 30 pixels before the row's right edge.
    grid->setContentsMargins(0, 0, 30, 0);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    auto *title = new QLabel(row);
    title->setObjectName(QStringLiteral("DBText2"));
    title->setAlignment(Qt::AlignCenter);
    title->setAutoFillBackground(true);
    QPalette titleColours = title->palette();
    titleColours.setColor(QPalette::Window, ColourScheme.CT_WTitleBack);
    titleColours.setColor(QPalette::WindowText, ColourScheme.CT_WTitleFont);
    title->setPalette(titleColours);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    binder->bindDisplay(title, QStringLiteral("NazivAlarma"), [title](const QVariant &name) { title->setText(name.toString()); });

    auto *picture = new QLabel(row);
    picture->setObjectName(QStringLiteral("DBImage2"));
    picture->setFixedSize(48, 48);
    picture->setAlignment(Qt::AlignCenter);
    binder->bindDisplay(picture, QStringLiteral("Ikona"), [picture](const QVariant &file) {
        const QPixmap icon = PictureFile(QStringLiteral("Alarmi"), file.toString());
        picture->setPixmap(icon.isNull() ? icon : icon.scaled(picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    });
    auto *date = new DateBox("DBDateEdit3", tr("Datum alarma"), row);
    date->setToolTip(tr("Datum alarma"));
    binder->bind(date, QStringLiteral("DatumCas"));
    auto *daysBefore = new QSpinBox(row);
    daysBefore->setObjectName(QStringLiteral("RxDBSpinEdit1"));
    daysBefore->setRange(0, 250);
    daysBefore->setToolTip(tr("Opozori n dni pred"));
    binder->bind(daysBefore, QStringLiteral("AlertDaysBefore"));
    auto *next = new QLineEdit(row);
    next->setObjectName(QStringLiteral("DBEdit11"));
    next->setReadOnly(true);
    next->setFocusPolicy(Qt::NoFocus);
    next->setToolTip(tr("Naslednja aktivacija"));
    binder->bindDisplay(next, QStringLiteral("CalcAlertDate"), [next](const QVariant &when) {
        next->setText(when.isNull() ? QString() : QLocale(QLocale::Slovenian).toString(when.toDate(), QStringLiteral("dd.MM.yyyy")));
    });
    auto *text = new QLineEdit(row);
    text->setObjectName(QStringLiteral("DBEdit12"));
    binder->bind(text, QStringLiteral("Value"));

    layout->addWidget(title);
    layout->addLayout(grid, 1);
    grid->addWidget(picture, 0, 0, 2, 1);
    grid->addWidget(date, 0, 1);
    grid->addWidget(daysBefore, 0, 2);
    grid->addWidget(next, 0, 4);
    grid->addWidget(text, 1, 1, 1, 4);
    grid->setColumnStretch(3, 1);
}

void AlarmList::doubleClicked()
{
    if (m_query->isOpen() && !m_query->isEmpty())
        FlatButton13Click();
    else
        FlatButton15Click();
}

void AlarmList::saveFromDialog()
{
    m_query->setValue(QStringLiteral("IDOsebe"), personId());
    m_query->setValue(QStringLiteral("Value"), FDUAlarm->text());
    // The dialog gives the day: the time of day the alarm had stays.
    const QTime time = m_query->value(QStringLiteral("DatumCas")).toDateTime().time();
    m_query->setValue(QStringLiteral("DatumCas"), QDateTime(FDUAlarm->date(), time.isValid() ? time : QTime(0, 0)));
    m_query->setValue(QStringLiteral("AlertDaysBefore"), FDUAlarm->daysBefore());
    m_query->setValue(QStringLiteral("IDAlarm"), FDUAlarm->alarmType());
}

void AlarmList::FlatButton15Click()
{
    if (!FDUAlarm->ask(tr("Dodaj alarm"), QVariant(), QString(), QDate(), 0))
        return;
    m_query->append();
    saveFromDialog();
    m_query->postOrCancel();
    requeryAt(m_query->value(QStringLiteral("ID")));
}

void AlarmList::FlatButton13Click()
{
    if (!m_query->isOpen() || m_query->isEmpty())
        return;
    m_query->checkBrowseMode();
    if (!FDUAlarm->ask(tr("Uredi alarm"), m_query->value(QStringLiteral("IDAlarm")), m_query->value(QStringLiteral("Value")).toString(),
                       m_query->value(QStringLiteral("DatumCas")).toDate(), VariantToInt(m_query->value(QStringLiteral("AlertDaysBefore")))))
        return;
    saveFromDialog();
    m_query->post();
    requeryAt(m_query->value(QStringLiteral("ID")));
}
