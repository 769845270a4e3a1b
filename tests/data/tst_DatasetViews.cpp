#include "Database.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "DatasetBinder.h"
#include "DatasetModel.h"
#include "LookupComboBox.h"
#include "PersonsFixture.h"
#include "TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

namespace {

struct Persons
{
    Persons()
        : database(testDatabase.connect())
        , dataset(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod ORDER BY CelotnoIme"))
    {
        insertPersonsFixture(*database);
        dataset.open();
    }
    TestDatabase testDatabase{SqlDialect::Sqlite};
    std::unique_ptr<Database> database;
    Dataset dataset;
};

}

class TestDatasetViews : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void modelShowsChosenColumns();
    void viewAndDatasetFollowEachOther();
    void modelFollowsEditsAndFilters();
    void binderShowsAndWritesTheRow();
    void binderCheckBoxOverCompanyText();
    void binderLookupList();
    void binderDisablesWithoutRow();
};

void TestDatasetViews::modelShowsChosenColumns()
{
    Persons persons;
    DatasetModel model(&persons.dataset);
    model.setColumns({{QStringLiteral("CelotnoIme"), QStringLiteral("Celotno ime")},
                      {QStringLiteral("Davcna"), QStringLiteral("Davčna številka"), Qt::AlignRight}});
    QCOMPARE(model.rowCount(), 5);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Davčna številka"));
    QCOMPARE(model.index(2, 0).data().toString(), QStringLiteral("Bojan Čeh"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("12345678"));
    QCOMPARE(model.index(0, 1).data().toString(), QString()); // null reads as empty
    QCOMPARE(model.index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(DatasetModel::displayText(QDate(2026, 12, 9).startOfDay()), QStringLiteral("09.12.2026"));
}

void TestDatasetViews::viewAndDatasetFollowEachOther()
{
    Persons persons;
    DatasetModel model(&persons.dataset);
    model.setColumns({{QStringLiteral("CelotnoIme"), QStringLiteral("Celotno ime")}});
    QTableView view;
    model.attach(&view);
    QCOMPARE(view.currentIndex().row(), 0);

    persons.dataset.locate(QStringLiteral("ID"), 4);
    QCOMPARE(view.currentIndex().row(), 3);

    QSignalSpy scrolled(&persons.dataset, &Dataset::afterScroll);
    view.setCurrentIndex(model.index(1, 0));
    QCOMPARE(persons.dataset.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Ana Novak"));
    QCOMPARE(scrolled.count(), 1);

    // A row that cannot be saved keeps the dataset where it is; the view goes back there,
    // and still follows the dataset afterwards.
    persons.dataset.setValue(QStringLiteral("Sifra"), QString(30, QLatin1Char('9')));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, view.setCurrentIndex(model.index(3, 0)));
    QCOMPARE(persons.dataset.recNo(), 2);
    QCOMPARE(view.currentIndex().row(), 1);
    persons.dataset.cancel();
    persons.dataset.locate(QStringLiteral("ID"), 4);
    QCOMPARE(view.currentIndex().row(), 3);
}

void TestDatasetViews::modelFollowsEditsAndFilters()
{
    Persons persons;
    DatasetModel model(&persons.dataset);
    model.setColumns({{QStringLiteral("CelotnoIme"), QStringLiteral("Celotno ime")}});
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    persons.dataset.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Alfa in Beta d.o.o."));
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Alfa in Beta d.o.o."));
    persons.dataset.post();
    QVERIFY(changed.count() >= 2);

    // Other rows under the same columns: the views lay the rows out again, the headers stay.
    QTableView view;
    view.setModel(&model);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy laidOut(&model, &QAbstractItemModel::layoutChanged);
    persons.dataset.setRowFilter([](const Dataset &dataset, int row) {
        return dataset.rawValue(row, dataset.fieldIndex(QStringLiteral("Podjetje"))).toString() == QLatin1String("True");
    });
    persons.dataset.setFiltered(true);
    QCOMPARE(reset.count(), 0);
    QCOMPARE(laidOut.count(), 1);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(view.model()->rowCount(), 2);
    QCOMPARE(view.verticalHeader()->count(), 2);
    QCOMPARE(model.index(1, 0).data().toString(), persons.dataset.valueAt(2, persons.dataset.fieldIndex(QStringLiteral("CelotnoIme"))).toString());

    // Other columns: the whole model anew.
    model.setColumns({{QStringLiteral("Sifra"), QStringLiteral("Šifra")}, {QStringLiteral("CelotnoIme"), QStringLiteral("Celotno ime")}});
    QCOMPARE(reset.count(), 1);
    QCOMPARE(view.horizontalHeader()->count(), 2);
    // Other titles over the same fields show too.
    model.setColumns({{QStringLiteral("Sifra"), QStringLiteral("Koda")}, {QStringLiteral("CelotnoIme"), QStringLiteral("Ime")}});
    QCOMPARE(reset.count(), 2);
    QCOMPARE(view.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Koda"));
}

void TestDatasetViews::binderShowsAndWritesTheRow()
{
    Persons persons;
    QLineEdit name, code;
    QPlainTextEdit address;
    DatasetBinder binder(&persons.dataset);
    binder.bind(&name, QStringLiteral("CelotnoIme"));
    binder.bind(&code, QStringLiteral("Sifra"), DatasetBinder::UpperCase);
    binder.bind(&address, QStringLiteral("Naslov"));
    QCOMPARE(code.maxLength(), 20);
    QCOMPARE(name.maxLength(), 255);

    persons.dataset.locate(QStringLiteral("ID"), 1);
    QCOMPARE(name.text(), QStringLiteral("Ana Novak"));
    QCOMPARE(address.toPlainText(), QStringLiteral("Slovenska 1"));

    QSignalSpy edited(&binder, &DatasetBinder::userEdited);
    code.setFocus();
    code.selectAll();
    QTest::keyClicks(&code, QStringLiteral("b7"));
    QCOMPARE(code.text(), QStringLiteral("B7"));
    QCOMPARE(persons.dataset.state(), Dataset::State::Edit);
    QCOMPARE(persons.dataset.value(QStringLiteral("Sifra")).toString(), QStringLiteral("B7"));
    QCOMPARE(edited.count(), 2);

    // Escape gives the field being typed in back its value, and leaves the others.
    QTest::keyClicks(&name, QStringLiteral(" ml."));
    QTest::keyClick(&code, Qt::Key_Escape);
    QCOMPARE(code.text(), QStringLiteral("A1"));
    QCOMPARE(persons.dataset.value(QStringLiteral("Sifra")).toString(), QStringLiteral("A1"));
    QCOMPARE(persons.dataset.value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Ana Novak ml."));
    QTest::keyClick(&name, Qt::Key_Escape);
    persons.dataset.checkBrowseMode(); // nothing left to save
    QCOMPARE(stored(*persons.database, QStringLiteral("SELECT CelotnoIme || Sifra FROM TOsnovniPod WHERE ID=1")).toString(),
             QStringLiteral("Ana NovakA1"));
    code.selectAll();
    QTest::keyClicks(&code, QStringLiteral("b7"));

    // What was typed for one row is not undone into the next, though it shows the same.
    persons.dataset.cancel();
    name.selectAll();
    QTest::keyClicks(&name, QStringLiteral("Ana Novak"));
    QVERIFY(name.isUndoAvailable());
    persons.dataset.cancel();
    QCOMPARE(name.text(), QStringLiteral("Ana Novak"));
    QVERIFY(!name.isUndoAvailable());
    code.selectAll();
    QTest::keyClicks(&code, QStringLiteral("b7"));

    // A value set by the program shows in the widget.
    persons.dataset.setValue(QStringLiteral("CelotnoIme"), QStringLiteral("Ana Novak Kranjc"));
    QCOMPARE(name.text(), QStringLiteral("Ana Novak Kranjc"));
    persons.dataset.next();
    QCOMPARE(persons.dataset.state(), Dataset::State::Browse);
    QCOMPARE(name.text(), QStringLiteral("Bojan Čeh"));
    QCOMPARE(code.text(), QString());
    persons.dataset.prior();
    QCOMPARE(code.text(), QStringLiteral("B7"));
}

void TestDatasetViews::binderCheckBoxOverCompanyText()
{
    Persons persons;
    QCheckBox company, legal;
    DatasetBinder binder(&persons.dataset);
    binder.bind(&company, QStringLiteral("Podjetje"), QStringLiteral("True"), QStringLiteral("False"));
    binder.bind(&legal, QStringLiteral("PravnaOseba"));
    persons.dataset.locate(QStringLiteral("ID"), 3);
    QVERIFY(company.isChecked());
    QVERIFY(legal.isChecked());
    persons.dataset.locate(QStringLiteral("ID"), 1);
    QVERIFY(!company.isChecked());
    company.click();
    QCOMPARE(persons.dataset.value(QStringLiteral("Podjetje")).toString(), QStringLiteral("True"));
    legal.click();
    QCOMPARE(persons.dataset.value(QStringLiteral("PravnaOseba")).toBool(), true);
}

void TestDatasetViews::binderLookupList()
{
    Persons persons;
    Dataset places(persons.database.get(), QStringLiteral("SELECT * FROM TKraj WHERE (TKraj.Naziv is Not Null) ORDER BY TKraj.Naziv;"));
    places.setReadOnly(true);
    places.open();
    LookupComboBox place;
    place.setLookup(&places, QStringLiteral("IDKRAJ"), {QStringLiteral("Naziv")});
    DatasetBinder binder(&persons.dataset);
    binder.bind(&place, QStringLiteral("IDKRAJ"));
    QCOMPARE(place.count(), 15);
    QCOMPARE(place.itemText(1), QStringLiteral("Črnomelj"));

    persons.dataset.locate(QStringLiteral("ID"), 1);
    QCOMPARE(place.currentText(), QStringLiteral("Ljubljana"));
    persons.dataset.locate(QStringLiteral("ID"), 2);
    QCOMPARE(place.currentIndex(), -1);

    place.setCurrentIndex(place.findText(QStringLiteral("Koper")));
    Q_EMIT place.activated(place.currentIndex());
    QCOMPARE(persons.dataset.value(QStringLiteral("IDKRAJ")).toInt(), 6);

    // A place added meanwhile appears when the lookup is read again.
    persons.database->run(QStringLiteral("INSERT INTO TKraj (Naziv, Zip) VALUES (\"Bled\", \"4260\")"));
    places.requery();
    QCOMPARE(place.count(), 16);
    QCOMPARE(place.currentText(), QStringLiteral("Koper"));

    // A list bound to nothing keeps its choice when its lookup is closed and opened again.
    LookupComboBox free;
    free.setLookup(&places, QStringLiteral("IDKRAJ"), {QStringLiteral("Naziv")});
    free.setCurrentKey(6);
    places.close();
    places.open();
    QCOMPARE(free.currentText(), QStringLiteral("Koper"));
}

void TestDatasetViews::binderDisablesWithoutRow()
{
    TestDatabase testDatabase(SqlDialect::Sqlite);
    const auto database = testDatabase.connect();
    Dataset empty(database.get(), QStringLiteral("SELECT * FROM TOsnovniPod"));
    QLineEdit name;
    DatasetBinder binder(&empty);
    binder.bind(&name, QStringLiteral("CelotnoIme"));
    QVERIFY(!name.isEnabled());
    empty.open();
    QVERIFY(!name.isEnabled());
    empty.append();
    QVERIFY(name.isEnabled());
}

QTEST_MAIN(TestDatasetViews)
#include "tst_DatasetViews.moc"
