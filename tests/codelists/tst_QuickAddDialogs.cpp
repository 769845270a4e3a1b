#include "CodeListAdd.h"
#include "CodeListWorld.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "ColourComboBox.h"
#include "ContactKindComboBox.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "ModalAnswer.h"
#include "Typing.h"
#include "UFDodajAlarm.h"
#include "UFDodajDrzavo.h"
#include "UFDodajKategorijo.h"
#include "UFDodajKontakt.h"
#include "UFDodajKraj.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>

namespace {

// Fills the dialog as a user would, tries to confirm, and reports whether it stayed open.
template<typename Fill> std::shared_ptr<bool> answer(Fill fill, bool cancelWhenRefused = true)
{
    auto stayed = std::make_shared<bool>(false);
    ModalAnswer::whenShown([fill, stayed, cancelWhenRefused](QWidget *shown) {
        auto *dialog = qobject_cast<EntryDialog *>(shown);
        QVERIFY(dialog);
        fill(dialog);
        dialog->okButton()->click();
        *stayed = dialog->isVisible();
        if (*stayed && cancelWhenRefused)
            dialog->cancelButton()->click();
    });
    return stayed;
}

void setText(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    edit->clear();
    typeText(edit, text);
}

}

class TestQuickAddDialogs : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void country();
    void countryNeedsAName();
    void firstKeyOfAPlainLongKeyIsOne();
    void placeAndRegionNeedACountry_data();
    void placeAndRegionNeedACountry();
    void category();
    void contactTypeGoesLast_data();
    void contactTypeGoesLast();
    void alarmTypeNeedsARepetition();
    void colourBoxKeepsAnyReference_data();
    void colourBoxKeepsAnyReference();
    void cancelAddsNothing();
    void refusedRowIsNotLeftBehind();
};

void TestQuickAddDialogs::country()
{
    CodeListWorld world;
    // Left in the second field, the dialog starts at the name the next time.
    ModalAnswer::whenShown([](QWidget *shown) {
        static_cast<TFDodajDrzavo *>(shown)->Edit2->setFocus();
        static_cast<TFDodajDrzavo *>(shown)->cancelButton()->click();
    });
    QCOMPARE(AddCountry(), 0);
    auto stayed = answer([](EntryDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Dodaj državo"));
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QVERIFY(static_cast<TFDodajDrzavo *>(dialog)->Edit1->hasFocus());
        setText(static_cast<TFDodajDrzavo *>(dialog)->Edit1, QStringLiteral("  Bosna in Hercegovina "));
    });
    const int id = AddCountry();
    QVERIFY(!*stayed);
    QCOMPARE(id, 7);
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM TDrzave WHERE IDDRZAVE=7")).toString(), QStringLiteral("  Bosna in Hercegovina "));
    QVERIFY(world.stored(QStringLiteral("SELECT Skrajsano FROM TDrzave WHERE IDDRZAVE=7")).isNull());
    // The table's stamp tells other windows.
    QVERIFY(world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TDrzave'")).isValid());
}

void TestQuickAddDialogs::countryNeedsAName()
{
    CodeListWorld world;
    auto stayed = answer([](EntryDialog *dialog) { setText(static_cast<TFDodajDrzavo *>(dialog)->Edit1, QStringLiteral("   ")); });
    QCOMPARE(AddCountry(), 0);
    QVERIFY(*stayed);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TDrzave")).toInt(), 6);
}

void TestQuickAddDialogs::firstKeyOfAPlainLongKeyIsOne()
{
    // A database whose countries have a plain Long key, which the database does not give.
    CodeListWorld world([](Database &database) {
        database.runNative(QStringLiteral("DROP TABLE TDrzave"));
        database.runNative(QStringLiteral("CREATE TABLE TDrzave (IDDRZAVE INT PRIMARY KEY, Naziv TEXT, Skrajsano TEXT)"));
    });
    for (const char *name : {"Slovenija", "Avstrija"}) {
        answer([name](EntryDialog *dialog) { setText(static_cast<TFDodajDrzavo *>(dialog)->Edit1, QString::fromUtf8(name)); });
        AddCountry();
    }
    QCOMPARE(world.stored(QStringLiteral("SELECT IDDRZAVE FROM TDrzave WHERE Naziv='Slovenija'")).toInt(), 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT IDDRZAVE FROM TDrzave WHERE Naziv='Avstrija'")).toInt(), 2);
}

void TestQuickAddDialogs::placeAndRegionNeedACountry_data()
{
    QTest::addColumn<bool>("place");
    QTest::newRow("place") << true;
    QTest::newRow("region") << false;
}

void TestQuickAddDialogs::placeAndRegionNeedACountry()
{
    QFETCH(bool, place);
    CodeListWorld world;
    const auto fill = [](bool withCountry) {
        return [withCountry](EntryDialog *dialog) {
            auto *form = static_cast<CodeEntryDialog *>(dialog);
            setText(form->Edit1, QStringLiteral("Bled"));
            setText(form->Edit2, QStringLiteral("4260"));
            QCOMPARE(form->DBLookupComboBox1->currentIndex(), -1);
            if (withCountry)
                form->DBLookupComboBox1->setCurrentKey(1);
        };
    };
    auto stayed = answer(fill(false));
    QCOMPARE(place ? AddPlace() : AddRegion(), 0);
    QVERIFY(*stayed);
    stayed = answer(fill(true));
    const int id = place ? AddPlace() : AddRegion();
    QVERIFY(!*stayed);
    const QString table = place ? QStringLiteral("TKraj") : QStringLiteral("TPokrajina");
    const QString key = place ? QStringLiteral("IDKRAJ") : QStringLiteral("IDPOK");
    QCOMPARE(world.stored(QStringLiteral("SELECT IDDRZAVA FROM %1 WHERE %2=%3").arg(table, key).arg(id)).toInt(), 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM %1 WHERE %2=%3").arg(table, key).arg(id)).toString(), QStringLiteral("Bled"));
}

void TestQuickAddDialogs::category()
{
    CodeListWorld world;
    answer([](EntryDialog *dialog) { setText(static_cast<TFDodajKategorijo *>(dialog)->Edit1, QStringLiteral("Čebelarji")); });
    const int id = AddCategory();
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM TKategorije WHERE IDkat=%1").arg(id)).toString(), QStringLiteral("Čebelarji"));
}

void TestQuickAddDialogs::contactTypeGoesLast_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<int>("sort");
    QTest::newRow("after the eight types") << false << 9;
    QTest::newRow("into an empty table") << true << 1;
}

void TestQuickAddDialogs::contactTypeGoesLast()
{
    QFETCH(bool, empty);
    QFETCH(int, sort);
    CodeListWorld world([empty](Database &database) {
        if (empty)
            database.run(QStringLiteral("DELETE * FROM TKontakti"));
    });
    answer([](EntryDialog *dialog) {
        auto *form = static_cast<TFDodajKontakt *>(dialog);
        QCOMPARE(form->ComboBox1->kind(), 0);
        QCOMPARE(form->ComboBox1->currentText(), QStringLiteral("Neznano"));
        setText(form->Edit1, QStringLiteral("Skype"));
        form->ComboBox1->setKind(2);
    });
    const int id = AddContactType();
    QSqlQuery row = world.dataMod->database().run(QStringLiteral("SELECT * FROM TKontakti WHERE ID=:ID"), {{QStringLiteral("ID"), id}});
    QVERIFY(row.next());
    QCOMPARE(row.value(QStringLiteral("Sort")).toInt(), sort);
    QCOMPARE(row.value(QStringLiteral("Vrsta")).toInt(), 2);
    QCOMPARE(row.value(QStringLiteral("StVrstic")).toInt(), 0);
    QCOMPARE(row.value(QStringLiteral("IsNaslov")).toInt(), 0);
    QVERIFY(row.value(QStringLiteral("IkonaPath")).isNull());
}

void TestQuickAddDialogs::alarmTypeNeedsARepetition()
{
    CodeListWorld world;
    bool stayed = false;
    ModalAnswer::whenShown([&stayed](QWidget *) {
        TFDodajAlarm *form = FDodajAlarm;
        QCOMPARE(form->ColorBox1->colourRef(), 0xFFFFFF);
        QCOMPARE(form->ColorBox2->colourRef(), 0);
        QCOMPARE(form->SpinEdit1->value(), 0);
        setText(form->Edit1, QStringLiteral("Servis"));
        form->DBLookupComboBox1->setCurrentKey(0); // "brez" is not taken here
        form->okButton()->click();
        stayed = form->isVisible();
        form->DBLookupComboBox1->setCurrentKey(2); // "na leto"
        form->SpinEdit1->setValue(5);
        form->ColorBox1->setColourRef(255);
        form->CheckBox1->setChecked(true);
        form->okButton()->click();
    });
    const int id = AddAlarmType();
    QVERIFY(stayed);
    QSqlQuery row = world.dataMod->database().run(QStringLiteral("SELECT * FROM TEventAlarms WHERE ID=:ID"), {{QStringLiteral("ID"), id}});
    QVERIFY(row.next());
    QCOMPARE(row.value(QStringLiteral("NazivAlarma")).toString(), QStringLiteral("Servis"));
    QCOMPARE(row.value(QStringLiteral("AlertType")).toInt(), 2);
    QCOMPARE(row.value(QStringLiteral("AlertNDaysBefore")).toInt(), 5);
    QCOMPARE(row.value(QStringLiteral("BackColor")).toInt(), 255);
    QCOMPARE(row.value(QStringLiteral("FontColor")).toInt(), 0);
    QCOMPARE(row.value(QStringLiteral("Flashing")).toInt(), 1);
    QVERIFY(row.value(QStringLiteral("Ikona")).isNull());
}

void TestQuickAddDialogs::colourBoxKeepsAnyReference_data()
{
    QTest::addColumn<qint64>("ref");
    QTest::newRow("named") << qint64(255);
    QTest::newRow("other") << qint64(0x123456);
    QTest::newRow("system colour") << qint64(-16777211);
    QTest::newRow("high byte set") << qint64(0x02FF0000);
}

void TestQuickAddDialogs::colourBoxKeepsAnyReference()
{
    QFETCH(qint64, ref);
    ColourComboBox box;
    box.setColourRef(ref);
    const int items = box.count();
    box.setColourRef(ref);
    QCOMPARE(box.colourRef(), ref);
    QCOMPARE(box.count(), items);
}

void TestQuickAddDialogs::cancelAddsNothing()
{
    CodeListWorld world;
    ModalAnswer::whenShown([](QWidget *dialog) {
        setText(static_cast<TFDodajKategorijo *>(dialog)->Edit1, QStringLiteral("Nikoli"));
        static_cast<EntryDialog *>(dialog)->cancelButton()->click();
    });
    QCOMPARE(AddCategory(), 0);
    ModalAnswer::press(QString()); // the close box
    QCOMPARE(AddCountry(), 0);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TKategorije")).toInt(), 6);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TDrzave")).toInt(), 6);
}

void TestQuickAddDialogs::refusedRowIsNotLeftBehind()
{
    CodeListWorld world([](Database &database) {
        database.runNative(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON TDrzave BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    });
    const auto name = [](EntryDialog *dialog) { setText(static_cast<TFDodajDrzavo *>(dialog)->Edit1, QStringLiteral("Srbija")); };
    answer(name);
    QVERIFY_THROWS_EXCEPTION(DatabaseError, AddCountry());
    // The error is reported; the list is as it was and takes the next country.
    QCOMPARE(DataMod->TDrzave->state(), Dataset::State::Browse);
    QCOMPARE(DataMod->TDrzave->recordCount(), 6);
    DataMod->database().runNative(QStringLiteral("DROP TRIGGER refuse"));
    answer(name);
    QCOMPARE(AddCountry(), 7);
}

QTEST_MAIN(TestQuickAddDialogs)
#include "tst_QuickAddDialogs.moc"
