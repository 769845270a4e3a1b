#include "AlarmList.h"
#include "AlertDate.h"
#include "DateBox.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "ModalAnswer.h"
#include "PersonWindowWorld.h"
#include "RecordRowList.h"
#include "SectionPanel.h"
#include "UFDodajAlarm.h"

#include <QLabel>
#include <QSpinBox>
#include <QTabWidget>

namespace {

RecordRowList *showAlarms(const World &world)
{
    auto *section = world.window->findChild<SectionPanel *>(QStringLiteral("PAlarmi"));
    world.child<QTabWidget>("PageControl1")->setCurrentWidget(section->parentWidget());
    return world.window->alarms()->list();
}

template<typename T> T *inRow(RecordRowList *list, int recNo, const char *name)
{
    QWidget *row = list->row(recNo);
    return row ? row->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

struct AlarmAnswer
{
    QString type;
    QString text;
    QDate date;
    int daysBefore = -1; // -1: as the dialog has it
};

// Answers the next alarm dialog, telling what it showed first.
void answerAlarm(const AlarmAnswer &answer, QString *caption = nullptr, int *shownDays = nullptr)
{
    ModalAnswer::whenShown([=](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUAlarm *>(shown);
        QVERIFY(dialog);
        if (caption)
            *caption = dialog->windowTitle();
        if (!answer.type.isEmpty()) {
            const int index = dialog->RxDBLookupCombo1->findText(answer.type);
            dialog->RxDBLookupCombo1->setCurrentIndex(index);
            Q_EMIT dialog->RxDBLookupCombo1->activated(index);
        }
        if (shownDays)
            *shownDays = dialog->RxSpinEdit1->value();
        dialog->Edit1->setText(answer.text);
        if (answer.date.isValid())
            dialog->DateEdit1->setDate(answer.date);
        if (answer.daysBefore >= 0)
            dialog->RxSpinEdit1->setValue(answer.daysBefore);
        dialog->okButton()->click();
    });
}

}

class TestPersonAlarms : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listShowsTheNextActivation();
    void alarmAddEditDelete_data();
    void alarmAddEditDelete();
    void dialogRules();
    void newAlarmTypeFromTheDialog();
    void editedInPlaceKeepsTheTimeOfDay();
};

void TestPersonAlarms::listShowsTheNextActivation()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // Ana's birthday, 3 May, three days before
    RecordRowList *list = showAlarms(world);
    QVERIFY(list->isVisible());
    const QDateTime next = CalcAlertDate(QDateTime(QDate(1990, 5, 3), QTime(0, 0)), 2, 3, QDateTime::currentDateTime());
    QCOMPARE(world.window->alarms()->query()->value(QStringLiteral("CalcAlertDate")).toDateTime(), next);
    QCOMPARE(inRow<QLineEdit>(list, 1, "DBEdit11")->text(), next.date().toString(QStringLiteral("dd.MM.yyyy")));
    QCOMPARE(inRow<QLabel>(list, 1, "DBText2")->text(), QStringLiteral("Rojstni dan"));
    QCOMPARE(inRow<QLineEdit>(list, 1, "DBEdit12")->text(), QStringLiteral("Anin rojstni dan"));
    QCOMPARE(inRow<QSpinBox>(list, 1, "RxDBSpinEdit1")->value(), 3);

    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QVERIFY(!list->isVisible());
}

void TestPersonAlarms::alarmAddEditDelete_data()
{
    addDialectRows(QStringLiteral("alarms"));
}

void TestPersonAlarms::alarmAddEditDelete()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    RecordRowList *list = showAlarms(world);
    // No alarms: a double click on the empty section adds one.
    QString caption;
    int shownDays = -1;
    answerAlarm({QStringLiteral("Obletnica"), QStringLiteral("Poročni dan"), QDate(2001, 9, 15)}, &caption, &shownDays);
    QTest::mouseDClick(list->parentWidget(), Qt::LeftButton, {}, QPoint(50, 80));
    QCOMPARE(caption, QStringLiteral("Dodaj alarm"));
    QCOMPARE(shownDays, 3); // the type's own warning
    QCOMPARE(world.stored(QStringLiteral("SELECT IDAlarm FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4 AND Value='Poročni dan'")).toInt(), 2);
    QCOMPARE(world.stored(QStringLiteral("SELECT AlertDaysBefore FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toInt(), 3);
    QCOMPARE(world.stored(QStringLiteral("SELECT DatumCas FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toDateTime(),
             QDateTime(QDate(2001, 9, 15), QTime(0, 0)));
    QVERIFY(list->isVisible());
    QCOMPARE(inRow<QLineEdit>(list, 1, "DBEdit11")->text(),
             CalcAlertDate(QDateTime(QDate(2001, 9, 15), QTime(0, 0)), 2, 3, QDateTime::currentDateTime()).date().toString(QStringLiteral("dd.MM.yyyy")));

    // With an alarm, a double click on its row edits it.
    answerAlarm({QString(), QStringLiteral("Obletnica poroke"), QDate(), 10}, &caption);
    QTest::mouseDClick(inRow<QLineEdit>(list, 1, "DBEdit12"), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Uredi alarm"));
    QCOMPARE(world.stored(QStringLiteral("SELECT AlertDaysBefore FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toInt(), 10);
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toString(), QStringLiteral("Obletnica poroke"));
    QCOMPARE(inRow<QSpinBox>(list, 1, "RxDBSpinEdit1")->value(), 10);

    ModalAnswer::press(QStringLiteral("Da"));
    world.child<FlatButton>("FlatButton14")->click();
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toInt(), 0);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=1")).toInt(), 1);
    QVERIFY(!list->isVisible());
}

void TestPersonAlarms::dialogRules()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showAlarms(world);
    bool staysWithoutType = false;
    QDate shownDate;
    QWidget *focusWithoutType = nullptr;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUAlarm *>(shown);
        QVERIFY(dialog);
        shownDate = dialog->DateEdit1->date();
        focusWithoutType = QApplication::focusWidget();
        dialog->Edit1->setText(QStringLiteral("Brez vrste"));
        dialog->okButton()->click();
        staysWithoutType = dialog->isVisible();
        dialog->cancelButton()->click();
    });
    world.child<FlatButton>("FlatButton15")->click();
    QCOMPARE(shownDate, QDate::currentDate());
    QVERIFY(staysWithoutType);
    QCOMPARE(focusWithoutType, world.alarmDialog->RxDBLookupCombo1);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toInt(), 0);

    // An alarm without a date gets today's; with a type chosen the text has the focus.
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TOsnovniPodVezaAlarmi (IDOsebe, IDAlarm, Value, AlertDaysBefore) "
                                              "VALUES (4, 4, 'Rok', 2)"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QWidget *focusWithType = nullptr;
    ModalAnswer::whenShown([&](QWidget *shown) {
        focusWithType = QApplication::focusWidget();
        qobject_cast<TFDUAlarm *>(shown)->DateEdit1->setDate(qobject_cast<TFDUAlarm *>(shown)->DateEdit1->minimumDate());
        qobject_cast<TFDUAlarm *>(shown)->okButton()->click();
    });
    world.child<FlatButton>("FlatButton13")->click();
    QCOMPARE(focusWithType, world.alarmDialog->Edit1);
    QCOMPARE(world.stored(QStringLiteral("SELECT DatumCas FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toDate(), QDate::currentDate());
}

void TestPersonAlarms::newAlarmTypeFromTheDialog()
{
    World world;
    TFDodajAlarm addType;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showAlarms(world);
    QString chosen;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUAlarm *>(shown);
        QVERIFY(dialog);
        ModalAnswer::whenShown([](QWidget *add) {
            add->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("God"));
            add->findChild<LookupComboBox *>(QStringLiteral("DBLookupComboBox1"))->setCurrentKey(2);
            add->findChild<QSpinBox *>(QStringLiteral("SpinEdit1"))->setValue(7);
            QMetaObject::invokeMethod(add, "accept");
        });
        dialog->findChild<FlatButton *>(QStringLiteral("SpeedButton2"))->click();
        chosen = dialog->RxDBLookupCombo1->currentText() + QLatin1Char('/') + QString::number(dialog->RxSpinEdit1->value());
        dialog->okButton()->click();
    });
    world.child<FlatButton>("FlatButton15")->click();
    QCOMPARE(chosen, QStringLiteral("God/7"));
    QCOMPARE(world.stored(QStringLiteral("SELECT TEventAlarms.NazivAlarma FROM TOsnovniPodVezaAlarmi INNER JOIN TEventAlarms ON "
                                         "TOsnovniPodVezaAlarmi.IDAlarm = TEventAlarms.ID WHERE IDOsebe=4"))
                 .toString(),
             QStringLiteral("God"));
}

void TestPersonAlarms::editedInPlaceKeepsTheTimeOfDay()
{
    World world;
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TOsnovniPodVezaAlarmi (IDOsebe, IDAlarm, DatumCas, Value, AlertDaysBefore) "
                                              "VALUES (4, 5, '2030-03-04T14:30:00.000', 'Sestanek', 0)"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    RecordRowList *list = showAlarms(world);
    auto *date = inRow<DateBox>(list, 1, "DBDateEdit3");
    QVERIFY(date);
    date->setFocus();
    date->setDate(QDate(2030, 3, 6));
    auto *days = inRow<QSpinBox>(list, 1, "RxDBSpinEdit1");
    days->setValue(1);
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT DatumCas FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toDateTime(),
             QDateTime(QDate(2030, 3, 6), QTime(14, 30)));
    // Saved, the row shows its next activation anew.
    QCOMPARE(inRow<QLineEdit>(list, 1, "DBEdit11")->text(), QStringLiteral("05.03.2030"));

    // So does the dialog, which gives only the day.
    answerAlarm({QString(), QStringLiteral("Sestanek"), QDate(2030, 3, 9)});
    world.child<FlatButton>("FlatButton13")->click();
    QCOMPARE(world.stored(QStringLiteral("SELECT DatumCas FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=4")).toDateTime(),
             QDateTime(QDate(2030, 3, 9), QTime(14, 30)));
}

QTEST_MAIN(TestPersonAlarms)
#include "tst_PersonAlarms.moc"
