#include "Database.h"
#include "DatabaseError.h"
#include "Dataset.h"
#include "NameComboBox.h"
#include "PersonSearchPanel.h"
#include "FlatButton.h"
#include "Messagebox.h"
#include "ModalAnswer.h"
#include "PersonsFixture.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "TitleLabel.h"
#include "Typing.h"
#include "UDataMod.h"
#include "UFDodajOsebo.h"
#include "UFVeldra.h"
#include "PersonWindowWorld.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

void type(QComboBox *box, const QString &text)
{
    box->lineEdit()->setFocus();
    box->lineEdit()->selectAll();
    typeText(box->lineEdit(), text);
}

void chooseFromList(QComboBox *box, const QString &text)
{
    box->showPopup();
    QAbstractItemView *list = box->view();
    list->setCurrentIndex(box->model()->index(box->findText(text), 0));
    QTest::keyClick(list, Qt::Key_Return);
}

}

class TestPersonWindow : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void startsWithTheFullNameSearch();
    void locatePerson_data();
    void locatePerson();
    void withoutPersons();
    void incrementalSearch_data();
    void incrementalSearch();
    void typingIntoTheListSearches();
    void searchesChangeTheColumns();
    void listAndRecordFollowEachOther();
    void companySwitch();
    void namesAreWrittenAndComposed();
    void placeSetsCountry();
    void enteringALookupReadsOnlyItsList();
    void invalidAccountIsToldAndKept_data();
    void invalidAccountIsToldAndKept();
    void renameRequeriesTheList();
    void refusedSaveKeepsTheEdit();
    void addPersonAndCompany();
    void deletePerson();
    void deleteRefusedByRule();
    void deleteIsAllOrNothing();
    void anotherWorkstationsPersonAppears();
    void recordAreaFollowsOtherWorkstations();
    void placementIsKeptOnLeaving();
};

void TestPersonWindow::startsWithTheFullNameSearch()
{
    World world;
    auto *selector = world.child<QComboBox>("ComboBox1");
    QCOMPARE(selector->count(), 11);
    QCOMPARE(selector->itemText(0), QStringLiteral("Celotnem imenu"));
    QCOMPARE(selector->itemText(7), QStringLiteral("Davčna številka"));
    QCOMPARE(world.browseColumn(0), (QStringList{"Alfa d.o.o.", "Ana Novak", "Bojan Čeh", "Cvetka Zupan", "Čebelica d.o.o."}));
    QVERIFY(world.child<QTableView>("DBGrid1")->isColumnHidden(1));
    QCOMPARE(world.window->search()->SearchField, QStringLiteral("CelotnoIme"));
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Alfa d.o.o."));
    QCOMPARE(world.child<TitleLabel>("Label3")->text(), QStringLiteral(" Alfa d.o.o."));
    QCOMPARE(world.window->windowTitle(), QStringLiteral("Alfa d.o.o."));

    auto *tabs = world.child<QTabWidget>("PageControl1");
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"Osnovni podatki", "Naslov", "Služba", "Kontakt", "Kategorija", "Bančni podatki", "Opombe",
                                    "Alarmi", "Ostali podatki", "Drugi programi"}));
    QCOMPARE(tabs->currentIndex(), 0);
}

void TestPersonWindow::withoutPersons()
{
    World world(false);
    QVERIFY(!world.child<QWidget>("Panel6")->isVisible());
    QCOMPARE(world.browseColumn(0), QStringList());
    auto question = ModalAnswer::press(QStringLiteral("Da"), 300);
    world.child<FlatButton>("SpeedButton1")->click(); // nothing to delete: no question
    QTest::qWait(400); // until the answer gives up waiting
    QVERIFY(!question->shown);
}

void TestPersonWindow::incrementalSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("prefix") << "a" << QStringList{"Alfa d.o.o.", "Ana Novak"};
    QTest::newRow("prefix, two letters") << "an" << QStringList{"Ana Novak"};
    QTest::newRow("Č is its own letter") << "č" << QStringList{"Čebelica d.o.o."};
    QTest::newRow("contains") << "*d.o" << QStringList{"Alfa d.o.o.", "Čebelica d.o.o."};
    QTest::newRow("asterisk alone") << "*" << QStringList{"Alfa d.o.o.", "Ana Novak", "Bojan Čeh", "Cvetka Zupan", "Čebelica d.o.o."};
    QTest::newRow("nothing found") << "x" << QStringList{};
}

void TestPersonWindow::incrementalSearch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    World world;
    world.search(typed);
    QCOMPARE(world.child<QLineEdit>("PregledInputText")->text(), typed.toUpper());
    QCOMPARE(world.browseColumn(0), shown);
    if (!shown.isEmpty())
        QCOMPARE(world.current("CelotnoIme"), shown.first());
    // A filter that finds nothing leaves the list empty but shown.
    QVERIFY(world.child<QTableView>("DBGrid1")->isVisible());
}

void TestPersonWindow::typingIntoTheListSearches()
{
    World world;
    auto *grid = world.child<QTableView>("DBGrid1");
    grid->setFocus();
    typeText(grid, QStringLiteral("an"));
    QCOMPARE(world.child<QLineEdit>("PregledInputText")->text(), QStringLiteral("AN"));
    QCOMPARE(world.browseColumn(0), QStringList{QStringLiteral("Ana Novak")});
    QTest::keyClick(grid, Qt::Key_Backspace);
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(world.child<QLineEdit>("PregledInputText")->text(), QStringLiteral("A"));
    QCOMPARE(world.browseColumn(0), (QStringList{"Alfa d.o.o.", "Ana Novak"}));
}

void TestPersonWindow::searchesChangeTheColumns()
{
    World world;
    world.chooseSearch(1); // by surname
    auto *grid = world.child<QTableView>("DBGrid1");
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Priimek"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Celotno ime"));
    QVERIFY(!grid->isColumnHidden(1));
    QCOMPARE(grid->columnWidth(0), 70);
    world.search(QStringLiteral("NOV"));
    QCOMPARE(world.browseColumn(1), QStringList{QStringLiteral("Ana Novak")});

    world.chooseSearch(6); // contacts: one row per contact
    QCOMPARE(world.child<QLineEdit>("PregledInputText")->text(), QString());
    QCOMPARE(world.browseColumn(1).count(QStringLiteral("Ana Novak")), 3);
    QVERIFY(!world.browseColumn(1).contains(QStringLiteral("Cvetka Zupan")));
    world.search(QStringLiteral("*example"));
    QCOMPARE(world.browseColumn(0), (QStringList{"ana@example.si", "bojan@example.si"}));
}

void TestPersonWindow::listAndRecordFollowEachOther()
{
    World world;
    auto *grid = world.child<QTableView>("DBGrid1");
    grid->setCurrentIndex(grid->model()->index(2, 0));
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Bojan Čeh"));
    world.child<FlatButton>("FlatSpeedButton1")->click(); // last
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Čebelica d.o.o."));
    world.child<FlatButton>("FlatSpeedButton4")->click(); // back one
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Cvetka Zupan"));
    world.child<FlatButton>("FlatSpeedButton2")->click(); // first
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Alfa d.o.o."));
    world.child<FlatButton>("FlatSpeedButton3")->click(); // on one
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Ana Novak"));
    QCOMPARE(grid->currentIndex().row(), 1);
    // Moving the record moves the list too.
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QCOMPARE(grid->currentIndex().row(), 3);
}

void TestPersonWindow::companySwitch()
{
    World world;
    auto *tabs = world.child<QTabWidget>("PageControl1");
    const int job = 2;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    QVERIFY(world.child<QComboBox>("DBComboBox2")->isVisible());
    QVERIFY(!world.child<QLineEdit>("DBEdit7")->isVisible());
    QVERIFY(tabs->isTabVisible(job));
    QCOMPARE(world.child<QComboBox>("DBComboBox6")->currentText(), QStringLiteral("Fizicna oseba"));

    world.child<QCheckBox>("DBCheckBox1")->click();
    QCOMPARE(world.current("Podjetje"), QStringLiteral("True"));
    for (const char *hidden : {"DBComboBox1", "DBComboBox2", "DBComboBox3", "DBComboBox4", "DBEdit1", "DBDateEdit1"})
        QVERIFY2(!world.child<QWidget>(hidden)->isVisible(), hidden);
    QVERIFY(world.child<QLineEdit>("DBEdit7")->isVisible());
    QVERIFY(!tabs->isTabVisible(job));

    world.window->QOsebe->locate(QStringLiteral("ID"), 4); // saved on the way
    QVERIFY(tabs->isTabVisible(job));
    QCOMPARE(world.stored(QStringLiteral("SELECT Podjetje FROM TOsnovniPod WHERE ID=1")).toString(), QStringLiteral("True"));
}

void TestPersonWindow::namesAreWrittenAndComposed()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4); // Cvetka Zupan
    // Read before the save, the lists take the saved names in.
    QVERIFY(!world.window->nameList(QStringLiteral("Ime")).contains(QStringLiteral("Marija")));
    QVERIFY(!world.window->nameList(QStringLiteral("Naziv")).contains(QStringLiteral("Dr.")));
    QCOMPARE(world.child<QComboBox>("DBComboBox1")->lineEdit()->maxLength(), 50); // the title's column
    type(world.child<QComboBox>("DBComboBox1"), QStringLiteral("dr."));
    type(world.child<QComboBox>("DBComboBox2"), QStringLiteral("mARIJA"));
    QCOMPARE(world.child<QComboBox>("DBComboBox2")->currentText(), QStringLiteral("Marija"));
    QCOMPARE(world.child<QLineEdit>("DBEdit1")->text(), QStringLiteral("Dr. Marija Zupan"));
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT CelotnoIme FROM TOsnovniPod WHERE ID=4")).toString(), QStringLiteral("Dr. Marija Zupan"));
    // The lists grow with the saved names.
    QVERIFY(world.window->nameList(QStringLiteral("Ime")).contains(QStringLiteral("Marija")));
    QVERIFY(world.window->nameList(QStringLiteral("Naziv")).contains(QStringLiteral("Dr.")));

    // A name chosen from the list composes the full name as typing does.
    world.window->QOsebe->locate(QStringLiteral("ID"), 2); // Bojan Čeh
    chooseFromList(world.child<QComboBox>("DBComboBox2"), QStringLiteral("Marija"));
    QCOMPARE(world.child<QLineEdit>("DBEdit1")->text(), QStringLiteral("Marija Čeh"));
    QCOMPARE(world.current("Ime"), QStringLiteral("Marija"));

    // Escape gives the name part back, and the full name with it.
    auto *surname = world.child<QComboBox>("DBComboBox4");
    type(surname, QStringLiteral("Novak"));
    QTest::keyClick(surname->lineEdit(), Qt::Key_Escape);
    QCOMPARE(surname->currentText(), QStringLiteral("Čeh"));
    QCOMPARE(world.child<QLineEdit>("DBEdit1")->text(), QStringLiteral("Marija Čeh"));
}

void TestPersonWindow::placeSetsCountry()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 2);
    world.window->QOsebe->setValue(QStringLiteral("IDPOK"), 3);
    auto *place = world.child<QComboBox>("RxDBLookupCombo1");
    const int koper = place->findText(QStringLiteral("Koper 6000"));
    QVERIFY(koper > 0);
    place->setCurrentIndex(koper);
    Q_EMIT place->activated(koper);
    QCOMPARE(world.window->QOsebe->value(QStringLiteral("IDDRZAVA")).toInt(), 1);
    QCOMPARE(world.child<QLineEdit>("DBEdit3")->text(), QStringLiteral("6000"));
    QCOMPARE(world.child<QComboBox>("RxDBLookupCombo3")->currentText(), QStringLiteral("Slovenija SLO"));
    place->setCurrentIndex(0);
    Q_EMIT place->activated(0);
    QVERIFY(world.window->QOsebe->value(QStringLiteral("IDDRZAVA")).isNull());
    QCOMPARE(world.window->QOsebe->value(QStringLiteral("IDPOK")).toInt(), 3); // the region stays

    // A place another workstation added, and one whose country it changed, as listed on entering.
    Database other(DatabaseLocation::sqliteFile(world.installation.databaseFile()));
    other.run(QStringLiteral("INSERT INTO TKraj (Naziv, Zip, IDDRZAVA) VALUES (\"Umag\", \"52470\", 2)"));
    other.run(QStringLiteral("UPDATE TKraj SET IDDRZAVA = 4 WHERE Naziv = \"Koper\""));
    world.dataMod->MarkTableChanged(QStringLiteral("TKraj"));
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(place, &focusIn);
    for (const auto &[name, country] : {std::pair{"Umag 52470", 2}, std::pair{"Koper 6000", 4}}) {
        const int at = place->findText(QString::fromLatin1(name));
        QVERIFY(at > 0);
        place->setCurrentIndex(at);
        Q_EMIT place->activated(at);
        QCOMPARE(world.window->QOsebe->value(QStringLiteral("IDDRZAVA")).toInt(), country);
    }
}

void TestPersonWindow::enteringALookupReadsOnlyItsList()
{
    World world;
    world.dataMod->database().run(QStringLiteral("INSERT INTO TKraj (Naziv, Zip, IDDRZAVA) VALUES (\"Žiri\", \"4226\", 1)"));
    world.dataMod->MarkTableChanged(QStringLiteral("TKraj"));
    QSignalSpy placesRead(world.dataMod->QKrajLookup, &Dataset::afterOpen);
    const auto enter = [&world](const char *lookup) {
        QFocusEvent focusIn(QEvent::FocusIn);
        QApplication::sendEvent(world.child<QComboBox>(lookup), &focusIn);
    };
    enter("RxDBLookupCombo3"); // the countries
    QCOMPARE(placesRead.count(), 0);
    enter("RxDBLookupCombo1");
    QCOMPARE(placesRead.count(), 1);
    QVERIFY(world.child<QComboBox>("RxDBLookupCombo1")->findText(QStringLiteral("Žiri 4226")) > 0);
    enter("RxDBLookupCombo1"); // unchanged since
    QCOMPARE(placesRead.count(), 1);
}

void TestPersonWindow::invalidAccountIsToldAndKept_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("wrong check digits") << "051001000000037" << "05100-1000000037";
    QTest::newRow("typed in part") << "0510010" << "05100-10";
}

void TestPersonWindow::invalidAccountIsToldAndKept()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    auto *account = world.child<QLineEdit>("DBEdit6");
    account->setFocus();
    account->setCursorPosition(0);
    typeText(account, typed);
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    world.child<QLineEdit>("DBEdit4")->setFocus(); // the user leaves the field
    QTRY_VERIFY(seen->shown);
    QCOMPARE(seen->text, QStringLiteral("Številka transakcijskega računa, je neveljavna, po preverjanju kontrolne številke!"));
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT TRR FROM TOsnovniPod WHERE ID=4")).toString(), kept);
}

void TestPersonWindow::renameRequeriesTheList()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QSignalSpy reread(world.window->QPregled, &Dataset::rowsReset);
    world.window->QOsebe->setValue(QStringLiteral("Davcna"), QStringLiteral("99999999"));
    world.window->FormDeactivate();
    QCOMPARE(reread.count(), 0); // neither the name nor the searched field

    type(world.child<QComboBox>("DBComboBox4"), QStringLiteral("Akrapovič"));
    world.window->FormDeactivate();
    QCOMPARE(world.browseColumn(0), (QStringList{"Alfa d.o.o.", "Ana Novak", "Bojan Čeh", "Cvetka Akrapovič", "Čebelica d.o.o."}));
    QCOMPARE(world.window->QPregled->value(QStringLiteral("ID")).toInt(), 4);
    QCOMPARE(world.window->windowTitle(), QStringLiteral("Cvetka Akrapovič"));
}

void TestPersonWindow::refusedSaveKeepsTheEdit()
{
    World world;
    // The database refuses an empty street, and any street called "X".
    world.dataMod->database().runNative(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE UPDATE ON TOsnovniPod WHEN NEW.Naslov = '' OR NEW.Naslov = 'X' "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    world.window->QOsebe->setValue(QStringLiteral("Naslov"), QString());
    world.window->FormDeactivate(); // the empty text is tried again as null
    QVERIFY(world.stored(QStringLiteral("SELECT Naslov FROM TOsnovniPod WHERE ID=1")).isNull());

    world.window->QOsebe->setValue(QStringLiteral("Naslov"), QStringLiteral("X"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, world.window->FormDeactivate());
    QCOMPARE(world.window->QOsebe->state(), Dataset::State::Edit);
    QCOMPARE(world.window->QOsebe->value(QStringLiteral("Naslov")).toString(), QStringLiteral("X"));
    world.window->QOsebe->cancel();

    // Another workstation changed the street meanwhile: the user is told, the edit stays
    // in the form, and saving again is the user's choice.
    Database other(DatabaseLocation::sqliteFile(world.installation.databaseFile()));
    other.run(QStringLiteral("UPDATE TOsnovniPod SET Naslov = \"Njihova 1\" WHERE ID = 1"));
    auto *street = world.child<QPlainTextEdit>("DBMemo1");
    street->setFocus();
    street->selectAll();
    QTest::keyClicks(street, QStringLiteral("Moja 2"));
    QVERIFY_THROWS_EXCEPTION(RecordChangedError, world.window->FormDeactivate());
    QCOMPARE(street->toPlainText(), QStringLiteral("Moja 2"));
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT Naslov FROM TOsnovniPod WHERE ID=1")).toString(), QStringLiteral("Moja 2"));
}

void TestPersonWindow::addPersonAndCompany()
{
    World world;
    // Cancelled: nothing happens.
    ModalAnswer::press(QStringLiteral("Prekliči"));
    world.child<FlatButton>("SpeedButton2")->click();
    QCOMPARE(world.browseColumn(0).size(), 5);

    ModalAnswer::whenShown([&world](QWidget *) {
        QCOMPARE(world.dialog->ComboBox3->findText(QStringLiteral("Novak")), 1); // the window's surnames
        type(world.dialog->ComboBox2, QStringLiteral("Bor"));
        type(world.dialog->ComboBox3, QStringLiteral("Ahac"));
        world.dialog->okButton()->click();
    });
    world.child<FlatButton>("SpeedButton2")->click();
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Bor Ahac"));
    QCOMPARE(world.window->QPregled->value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Bor Ahac"));
    QVERIFY(world.child<QWidget>("Panel6")->isVisible());

    // A new company becomes the current person's employer.
    ModalAnswer::whenShown([&world](QWidget *) {
        world.dialog->Edit2->setFocus();
        typeText(world.dialog->Edit2, QStringLiteral("Beta d.o.o."));
        world.dialog->okButton()->click();
    });
    world.child<FlatButton>("FlatButton1")->click();
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Bor Ahac"));
    QCOMPARE(world.child<QComboBox>("RxDBLookupCombo4")->currentText(), QStringLiteral("Beta d.o.o."));
    QCOMPARE(world.stored(QStringLiteral("SELECT p.CelotnoIme FROM TOsnovniPod p, TOsnovniPod o WHERE o.IDPodjetja = p.ID AND o.CelotnoIme = 'Bor Ahac'"))
                 .toString(),
             QStringLiteral("Beta d.o.o."));
}

void TestPersonWindow::deletePerson()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // Ana, with every kind of sub-record
    ModalAnswer::press(QStringLiteral("Ne"));
    world.child<FlatButton>("SpeedButton1")->click();
    QCOMPARE(world.dataMod->CountPersons(), 5);

    ModalAnswer::press(QStringLiteral("Da"));
    world.child<FlatButton>("SpeedButton1")->click();
    QCOMPARE(world.browseColumn(0), (QStringList{"Alfa d.o.o.", "Bojan Čeh", "Cvetka Zupan", "Čebelica d.o.o."}));
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Alfa d.o.o.")); // the row before
    for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"})
        QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM %1 WHERE IDOsebe=1").arg(QString::fromLatin1(table))).toInt(), 0);
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaAlarmi WHERE IDOsebe=1")).toInt(), 1);

    // The first row deleted (a company that no longer employs anyone): the new first one is shown.
    world.dataMod->database().run(QStringLiteral("UPDATE TOsnovniPod SET IDPodjetja = Null"));
    ModalAnswer::press(QStringLiteral("Da"));
    world.child<FlatButton>("SpeedButton1")->click();
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Bojan Čeh"));
}

void TestPersonWindow::deleteRefusedByRule()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 3); // a company with an employee
    ModalAnswer::whenShown([](QWidget *) {
        auto refusal = ModalAnswer::press(QStringLiteral("V redu"));
        TFMessageBox::instance()->rightButton()->click();
    });
    world.child<FlatButton>("SpeedButton1")->click();
    QCOMPARE(world.dataMod->CountPersons(), 5);
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Čebelica d.o.o."));
}

void TestPersonWindow::deleteIsAllOrNothing()
{
    World world;
    // The shared file is busy, say, when the person's own row is to go.
    world.dataMod->database().runNative(QStringLiteral(
        "CREATE TRIGGER busy BEFORE DELETE ON TOsnovniPod BEGIN SELECT RAISE(ABORT, 'database is locked'); END"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    ModalAnswer::press(QStringLiteral("Da"));
    QVERIFY_THROWS_EXCEPTION(DatabaseError, world.window->DeletePerson());
    for (const char *table : {"TOsnovniPodVezaOpombe", "TOsnovniPodVezaKontakt", "TOsnovniPodVezaKategorje", "TOsnovniPodDodatno"})
        QVERIFY(world.stored(QStringLiteral("SELECT Count(*) FROM %1 WHERE IDOsebe=1").arg(QString::fromLatin1(table))).toInt() > 0);
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Ana Novak"));
    // The display is not left frozen.
    world.search(QStringLiteral("b"));
    QCOMPARE(world.browseColumn(0), QStringList{"Bojan Čeh"});
}

void TestPersonWindow::recordAreaFollowsOtherWorkstations()
{
    World world(false);
    Database other(DatabaseLocation::sqliteFile(world.installation.databaseFile()));
    other.run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Ime, Podjetje) VALUES (\"Prvi\", \"Prvi\", \"False\")"));
    world.window->refreshKeepingPosition();
    QVERIFY(world.child<QWidget>("Panel6")->isVisible());
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Prvi"));
    other.run(QStringLiteral("DELETE * FROM TOsnovniPod"));
    world.window->refreshKeepingPosition();
    QVERIFY(!world.child<QWidget>("Panel6")->isVisible());
}

void TestPersonWindow::anotherWorkstationsPersonAppears()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 2);
    // Another workstation adds a person while this program is in the background.
    Database other(DatabaseLocation::sqliteFile(world.installation.databaseFile()));
    other.run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Ime, Podjetje) VALUES (\"Aleš Drugi\", \"Aleš\", \"False\")"));
    QCOMPARE(world.browseColumn(0).size(), 5);
    world.window->refreshKeepingPosition(); // the program gets the focus back
    QCOMPARE(world.browseColumn(0), (QStringList{"Aleš Drugi", "Alfa d.o.o.", "Ana Novak", "Bojan Čeh", "Cvetka Zupan", "Čebelica d.o.o."}));
    QCOMPARE(world.current("CelotnoIme"), QStringLiteral("Bojan Čeh"));
    QCOMPARE(world.window->QPregled->value(QStringLiteral("CelotnoIme")).toString(), QStringLiteral("Bojan Čeh"));

    // The typed search holds for the rows read again.
    world.search(QStringLiteral("c"));
    other.run(QStringLiteral("INSERT INTO TOsnovniPod (CelotnoIme, Ime, Podjetje) VALUES (\"Cene Tretji\", \"Cene\", \"False\")"));
    world.window->refreshKeepingPosition();
    QCOMPARE(world.browseColumn(0), (QStringList{"Cene Tretji", "Cvetka Zupan"}));
}

void TestPersonWindow::placementIsKeptOnLeaving()
{
    World world;
    // As in the program: the window lives in a frame of the main window's area.
    QMdiArea area;
    QMdiSubWindow *frame = area.addSubWindow(world.window.release());
    area.show();
    frame->setGeometry(10, 20, 600, 400);
    FVeldra->leave();
    const QString key = QStringLiteral("Software\\Veldra\\FVeldra");
    QCOMPARE(ReadRegString(key, QStringLiteral("ShowCmd")), QStringLiteral("1"));
    QVERIFY(ReadRegString(key, QStringLiteral("NormPos")).startsWith(QLatin1String("10,20,")));
}

// What other programs ask for by ID: the person current in the browse list, also when a
// typed search text hid the person.
void TestPersonWindow::locatePerson_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("current");
    QTest::newRow("found") << QString() << QStringLiteral("2") << QStringLiteral("Bojan Čeh");
    QTest::newRow("hidden by the search text") << QStringLiteral("ANA") << QStringLiteral(" 4 ") << QStringLiteral("Cvetka Zupan");
    QTest::newRow("no such person") << QString() << QStringLiteral("99") << QString();
    QTest::newRow("no number") << QString() << QStringLiteral("2; DROP") << QString();
}

void TestPersonWindow::locatePerson()
{
    QFETCH(QString, typed);
    QFETCH(QString, id);
    QFETCH(QString, current);
    World world;
    if (!typed.isEmpty())
        world.search(typed);
    const QString before = world.current("CelotnoIme");
    QCOMPARE(world.window->LocatePerson(id), !current.isEmpty());
    QCOMPARE(world.current("CelotnoIme"), current.isEmpty() ? before : current);
}

QTEST_MAIN(TestPersonWindow)
#include "tst_PersonWindow.moc"
