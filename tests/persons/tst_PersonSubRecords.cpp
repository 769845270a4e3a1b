#include "CategoryCheckList.h"
#include "ContactList.h"
#include "Dataset.h"
#include "DateBox.h"
#include "ExtraDataList.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "ModalAnswer.h"
#include "NoteList.h"
#include "PersonCategories.h"
#include "PersonWindowWorld.h"
#include "RecordRowList.h"
#include "RecordingProgram.h"
#include "SectionPanel.h"
#include "Settings.h"
#include "UFDodajKontakt.h"

#include <QDateEdit>
#include <QDesktopServices>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

// Opens the section's tab, as the user does before working in it.
QWidget *showSection(const World &world, const char *name)
{
    auto *section = world.window->findChild<SectionPanel *>(QString::fromLatin1(name));
    auto *tabs = world.child<QTabWidget>("PageControl1");
    tabs->setCurrentWidget(section->parentWidget());
    return section->data();
}

FlatButton *button(const World &world, const char *name)
{
    return world.child<FlatButton>(name);
}

template<typename T> T *inRow(RecordRowList *list, int recNo, const char *name)
{
    QWidget *row = list->row(recNo);
    return row ? row->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

// Answers the next contact dialog: the type by its name, the value, then "Potrdi".
void answerContact(const QString &type, const QString &value, QString *caption = nullptr)
{
    ModalAnswer::whenShown([=](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUKontakt *>(shown);
        QVERIFY(dialog);
        if (caption)
            *caption = dialog->windowTitle();
        dialog->DBLookupComboBox1->setCurrentIndex(dialog->DBLookupComboBox1->findText(type));
        dialog->Edit1->setText(value);
        dialog->okButton()->click();
    });
}

void answerNote(const QString &text, QString *caption = nullptr, QDate *shownDate = nullptr)
{
    ModalAnswer::whenShown([=](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUOpomba *>(shown);
        QVERIFY(dialog);
        if (caption)
            *caption = dialog->windowTitle();
        if (shownDate)
            *shownDate = dialog->DateEdit1->date();
        dialog->Memo1->setPlainText(text);
        dialog->okButton()->click();
    });
}

QVariant count(const World &world, const QString &sql)
{
    return world.stored(QStringLiteral("SELECT Count(*) FROM ") + sql);
}

}

class TestPersonSubRecords : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listsFollowThePerson();
    void contactAddEditDelete_data();
    void contactAddEditDelete();
    void contactDialogRules();
    void newContactTypeFromTheDialog();
    void contactEditedInPlaceIsSavedOnMovingOn();
    void renamedTypeShowsOnEntering();
    void usingAContact_data();
    void usingAContact();
    void noteAddEditDelete_data();
    void noteAddEditDelete();
    void noteDialogRules();
    void extraDataInPlace_data();
    void extraDataInPlace();
    void textsNoLongerThanTheirColumns();
    void tickingACategory_data();
    void tickingACategory();
    void categoryStripAndHint();
    void categoriesChangedElsewhereAreListed();
    void categoryStatesKeptAcrossRefills();
};

void TestPersonSubRecords::listsFollowThePerson()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // Ana Novak
    Dataset *contacts = world.window->contacts()->query();
    QCOMPARE(contacts->recordCount(), 3);
    // By the type's order: telephone, mobile, e-mail.
    QCOMPARE(contacts->valueAt(1, contacts->fieldIndex(QStringLiteral("Value"))).toString(), QStringLiteral("01 123 45 67"));
    QCOMPARE(contacts->valueAt(3, contacts->fieldIndex(QStringLiteral("Naziv"))).toString(), QStringLiteral("Elektronska pošta"));
    QCOMPARE(world.window->notes()->query()->recordCount(), 1);
    QCOMPARE(world.window->extraData()->query()->recordCount(), 1);
    showSection(world, "PKontakt");
    RecordRowList *list = world.window->contacts()->list();
    QVERIFY(list->isVisible());
    QCOMPARE(inRow<QLineEdit>(list, 2, "DBEdit8")->text(), QStringLiteral("041 111 222"));
    QCOMPARE(inRow<QLabel>(list, 3, "DBText1")->text(), QStringLiteral("Elektronska pošta"));

    world.window->QOsebe->locate(QStringLiteral("ID"), 2); // Bojan Čeh: notes in their order
    Dataset *notes = world.window->notes()->query();
    QCOMPARE(notes->valueAt(1, notes->fieldIndex(QStringLiteral("Value"))).toString(), QStringLiteral("Dogovor o ceni"));
    QCOMPARE(notes->valueAt(2, notes->fieldIndex(QStringLiteral("Value"))).toString(), QStringLiteral("Poslati ponudbo"));

    world.window->QOsebe->locate(QStringLiteral("ID"), 4); // Cvetka Zupan has nothing
    QCOMPARE(contacts->recordCount(), 0);
    QVERIFY(!list->isVisible());
    showSection(world, "POpombe");
    QVERIFY(!world.window->notes()->list()->isVisible());
    showSection(world, "POstaliPodatki");
    QVERIFY(world.window->extraData()->list()->isVisible());
}

void TestPersonSubRecords::contactAddEditDelete_data()
{
    addDialectRows(QStringLiteral("contactAddEditDelete"));
}

void TestPersonSubRecords::contactAddEditDelete()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    QWidget *section = showSection(world, "PKontakt");
    // No contacts: a double click on the empty section adds one.
    QString caption;
    answerContact(QStringLiteral("Mobilni telefon"), QStringLiteral("031 555 666"), &caption);
    QTest::mouseDClick(section, Qt::LeftButton, {}, QPoint(50, 80));
    QCOMPARE(caption, QStringLiteral("Dodaj kontakt"));
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaKontakt WHERE IDOsebe=4 AND IDKontat=2")).toString(),
             QStringLiteral("031 555 666"));
    RecordRowList *list = world.window->contacts()->list();
    QVERIFY(list->isVisible());
    QCOMPARE(inRow<QLabel>(list, 1, "DBText1")->text(), QStringLiteral("Mobilni telefon"));

    // With a contact, a double click on a row edits it.
    answerContact(QStringLiteral("Telefon"), QStringLiteral("01 999 88 77"), &caption);
    QTest::mouseDClick(inRow<QLineEdit>(list, 1, "DBEdit8"), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Uredi kontakt"));
    QCOMPARE(world.stored(QStringLiteral("SELECT IDKontat FROM TOsnovniPodVezaKontakt WHERE IDOsebe=4")).toInt(), 1);
    QCOMPARE(inRow<QLabel>(list, 1, "DBText1")->text(), QStringLiteral("Telefon"));

    // Delete asks; "Ne" keeps the contact, "Da" deletes it.
    auto told = ModalAnswer::press(QStringLiteral("Ne"));
    button(world, "FlatButton4")->click();
    QCOMPARE(told->text, QStringLiteral("Ali resnično želite izbrisati vnos?"));
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKontakt WHERE IDOsebe=4")).toInt(), 1);
    ModalAnswer::press(QStringLiteral("Da"));
    button(world, "FlatButton4")->click();
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKontakt WHERE IDOsebe=4")).toInt(), 0);
    QVERIFY(!list->isVisible());
    // Ana's contacts are untouched.
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKontakt WHERE IDOsebe=1")).toInt(), 3);
}

void TestPersonSubRecords::contactDialogRules()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showSection(world, "PKontakt");
    bool staysWithoutValue = false;
    bool staysWithoutType = false;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUKontakt *>(shown);
        QVERIFY(dialog);
        // The type list has the focus (once the dialog is active), and the dialog starts empty.
        QTRY_COMPARE(QApplication::focusWidget(), dialog->DBLookupComboBox1);
        QCOMPARE(dialog->contactType(), 0);
        dialog->DBLookupComboBox1->setCurrentIndex(dialog->DBLookupComboBox1->findText(QStringLiteral("Telefon")));
        dialog->Edit1->setText(QStringLiteral("   "));
        dialog->okButton()->click();
        staysWithoutValue = dialog->isVisible();
        dialog->DBLookupComboBox1->setCurrentKey(QVariant());
        dialog->Edit1->setText(QStringLiteral("01 222 33 44"));
        dialog->okButton()->click();
        staysWithoutType = dialog->isVisible();
        dialog->cancelButton()->click();
    });
    button(world, "FlatButton2")->click();
    QVERIFY(staysWithoutValue);
    QVERIFY(staysWithoutType);
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKontakt WHERE IDOsebe=4")).toInt(), 0);
    // Editing needs a contact: without one nothing opens.
    auto shown = ModalAnswer::press(QStringLiteral("&Prekliči"), 300);
    button(world, "FlatButton3")->click();
    QTest::qWait(400);
    QVERIFY(!shown->shown);
}

void TestPersonSubRecords::newContactTypeFromTheDialog()
{
    World world;
    TFDodajKontakt addType;
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showSection(world, "PKontakt");
    QString chosen;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUKontakt *>(shown);
        QVERIFY(dialog);
        ModalAnswer::whenShown([](QWidget *add) {
            add->findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("Skype"));
            QMetaObject::invokeMethod(add, "accept");
        });
        dialog->findChild<FlatButton *>(QStringLiteral("FlatButton1"))->click();
        chosen = dialog->DBLookupComboBox1->currentText();
        dialog->Edit1->setText(QStringLiteral("ana.novak"));
        dialog->okButton()->click();
    });
    button(world, "FlatButton2")->click();
    QCOMPARE(chosen, QStringLiteral("Skype"));
    QCOMPARE(world.stored(QStringLiteral("SELECT TKontakti.Naziv FROM TOsnovniPodVezaKontakt INNER JOIN TKontakti ON "
                                         "TOsnovniPodVezaKontakt.IDKontat = TKontakti.ID WHERE IDOsebe=4"))
                 .toString(),
             QStringLiteral("Skype"));
}

void TestPersonSubRecords::contactEditedInPlaceIsSavedOnMovingOn()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    showSection(world, "PKontakt");
    RecordRowList *list = world.window->contacts()->list();
    auto *second = inRow<QLineEdit>(list, 2, "DBEdit8");
    second->setFocus();
    QCOMPARE(world.window->contacts()->query()->recNo(), 2);
    second->selectAll();
    typeText(second, QStringLiteral("040 000 000"));
    // Another row of the list takes the edit to the database.
    QTest::mouseClick(inRow<QLineEdit>(list, 1, "DBEdit8"), Qt::LeftButton);
    QCOMPARE(world.window->contacts()->query()->recNo(), 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaKontakt WHERE IDOsebe=1 AND IDKontat=2")).toString(),
             QStringLiteral("040 000 000"));
    // So does leaving the window.
    auto *first = inRow<QLineEdit>(list, 1, "DBEdit8");
    first->selectAll();
    typeText(first, QStringLiteral("01 100 10 10"));
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaKontakt WHERE IDOsebe=1 AND IDKontat=1")).toString(),
             QStringLiteral("01 100 10 10"));
}

void TestPersonSubRecords::renamedTypeShowsOnEntering()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    showSection(world, "PKontakt");
    RecordRowList *list = world.window->contacts()->list();
    world.window->contacts()->query()->moveTo(3);
    // Another workstation renames the e-mail type.
    world.dataMod->ExecuteWork(QStringLiteral("UPDATE TKontakti SET Naziv='E-pošta' WHERE ID=3"));
    world.dataMod->MarkTableChanged(QStringLiteral("TKontakti"));
    inRow<QLineEdit>(list, 3, "DBEdit8")->setFocus();
    QCOMPARE(inRow<QLabel>(list, 3, "DBText1")->text(), QStringLiteral("E-pošta"));
    QCOMPARE(world.window->contacts()->query()->recNo(), 3);
}

void TestPersonSubRecords::usingAContact_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("mailArguments");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");

    QTest::newRow("e-mail address") << 3 << QStringLiteral(" ana@example.si ") << QStringList{QStringLiteral("ana@example.si")}
                                    << QString() << QString();
    QTest::newRow("internet address") << 4 << QStringLiteral("https://www.example.si/") << QStringList() << QStringLiteral("https://www.example.si/")
                                      << QString();
    QTest::newRow("telephone") << 1 << QStringLiteral("01 123 45 67") << QStringList() << QString()
                               << QStringLiteral("Kontakta ni mogoče uporabiti!");
    QTest::newRow("empty value") << 3 << QStringLiteral("  ") << QStringList() << QString() << QString();
}

// Takes the addresses the desktop is asked to open.
class OpenedUrls : public QObject
{
    Q_OBJECT
public:
    QStringList urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls << url.toString(); }
};

void TestPersonSubRecords::usingAContact()
{
    QFETCH(int, type);
    QFETCH(QString, value);
    QFETCH(QStringList, mailArguments);
    QFETCH(QString, opened);
    QFETCH(QString, message);

    World world;
    world.dataMod->ExecuteWork(QStringLiteral("DELETE * FROM TOsnovniPodVezaKontakt WHERE IDOsebe=4;"));
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TOsnovniPodVezaKontakt (IDOsebe, IDKontat, Value) VALUES (4, %1, '%2')")
                                   .arg(type)
                                   .arg(value));
    RecordingProgram xdgEmail(QStringLiteral("xdg-email"));
    xdgEmail.install();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(xdgEmail.folder()) + ':' + path);
    OpenedUrls urls;
    for (const char *scheme : {"http", "https", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &urls, "open");

    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showSection(world, "PKontakt");
    auto told = ModalAnswer::press(QStringLiteral("V redu"), 300);
    QTest::mouseClick(inRow<QLabel>(world.window->contacts()->list(), 1, "DBImageMy1"), Qt::LeftButton);
    QTest::qWait(400);

    for (const char *scheme : {"http", "https", "mailto"})
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    qputenv("PATH", path);
    QCOMPARE(xdgEmail.arguments(), mailArguments);
    QCOMPARE(urls.urls, opened.isEmpty() ? QStringList() : QStringList{opened});
    QCOMPARE(told->text, message);
}

void TestPersonSubRecords::noteAddEditDelete_data()
{
    addDialectRows(QStringLiteral("noteAddEditDelete"));
}

void TestPersonSubRecords::noteAddEditDelete()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 2); // two notes
    QWidget *section = showSection(world, "POpombe");
    QString caption;
    QDate shownDate;
    answerNote(QStringLiteral("Tretja opomba"), &caption, &shownDate);
    button(world, "FlatButton7")->click();
    QCOMPARE(caption, QStringLiteral("Dodaj opombo"));
    QCOMPARE(shownDate, QDate::currentDate());
    QCOMPARE(world.stored(QStringLiteral("SELECT Sort FROM TOsnovniPodVezaOpombe WHERE Value='Tretja opomba' AND IDOsebe=2")).toInt(), 3);
    QCOMPARE(world.stored(QStringLiteral("SELECT Datum FROM TOsnovniPodVezaOpombe WHERE Value='Tretja opomba'")).toDate(),
             QDate::currentDate());
    Dataset *notes = world.window->notes()->query();
    QCOMPARE(notes->value(QStringLiteral("Value")).toString(), QStringLiteral("Tretja opomba"));

    // A double click on the notes edits the current one.
    notes->moveTo(1);
    answerNote(QStringLiteral("Dogovor o ceni: 10 % popusta"), &caption);
    QTest::mouseDClick(inRow<QPlainTextEdit>(world.window->notes()->list(), 1, "DBMemo2")->viewport(), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Uredi opombo"));
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaOpombe WHERE Value='Dogovor o ceni: 10 % popusta' AND Sort=1")).toInt(), 1);

    ModalAnswer::press(QStringLiteral("Da"));
    button(world, "FlatButton6")->click();
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaOpombe WHERE IDOsebe=2")).toInt(), 2);
    QCOMPARE(notes->recNo(), 1);

    // Without notes, a double click adds one.
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    answerNote(QStringLiteral("Prva"), &caption);
    QTest::mouseDClick(section, Qt::LeftButton, {}, QPoint(50, 80));
    QCOMPARE(caption, QStringLiteral("Dodaj opombo"));
    QCOMPARE(world.stored(QStringLiteral("SELECT Sort FROM TOsnovniPodVezaOpombe WHERE IDOsebe=4")).toInt(), 1);
}

void TestPersonSubRecords::noteDialogRules()
{
    World world;
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TOsnovniPodVezaOpombe (IDOsebe, Value, Sort) VALUES (4, 'Brez datuma', 1)"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    showSection(world, "POpombe");
    bool staysWithoutText = false;
    QDate shownDate;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<TFDUOpomba *>(shown);
        QVERIFY(dialog);
        // A note without a date shows today's; the text has the focus.
        shownDate = dialog->DateEdit1->date();
        QTRY_COMPARE(QApplication::focusWidget(), dialog->Memo1);
        dialog->Memo1->setPlainText(QStringLiteral(" \n "));
        dialog->okButton()->click();
        staysWithoutText = dialog->isVisible();
        dialog->Memo1->setPlainText(QStringLiteral("Z datumom"));
        dialog->DateEdit1->setDate(dialog->DateEdit1->minimumDate()); // emptied
        dialog->okButton()->click();
    });
    button(world, "FlatButton5")->click();
    QCOMPARE(shownDate, QDate::currentDate());
    QVERIFY(staysWithoutText);
    QCOMPARE(world.stored(QStringLiteral("SELECT Datum FROM TOsnovniPodVezaOpombe WHERE IDOsebe=4")).toDate(), QDate::currentDate());
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaOpombe WHERE IDOsebe=4")).toString(), QStringLiteral("Z datumom"));
}

void TestPersonSubRecords::extraDataInPlace_data()
{
    addDialectRows(QStringLiteral("extraDataInPlace"));
}

void TestPersonSubRecords::extraDataInPlace()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // one datum already
    showSection(world, "POstaliPodatki");
    RecordRowList *list = world.window->extraData()->list();
    button(world, "FlatButton10")->click();
    auto *name = inRow<QLineEdit>(list, 2, "DBEdit9");
    QVERIFY(name);
    QTRY_COMPARE(QApplication::focusWidget(), name);
    typeText(name, QStringLiteral("Velikost"));
    typeText(inRow<QLineEdit>(list, 2, "DBEdit10"), QStringLiteral("M"));
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT Sort FROM TOsnovniPodDodatno WHERE IDOsebe=1 AND Polje='Velikost' AND Value='M'")).toInt(), 2);

    // A row left empty goes when it is saved, also one that was typed in and emptied.
    button(world, "FlatButton10")->click();
    auto *third = inRow<QLineEdit>(list, 3, "DBEdit9");
    typeText(third, QStringLiteral("x"));
    QTest::keyClick(third, Qt::Key_Backspace);
    world.window->FormDeactivate();
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodDodatno WHERE IDOsebe=1")).toInt(), 2);
    QCOMPARE(world.window->extraData()->query()->recordCount(), 2);

    // An existing pair emptied in place goes too.
    auto *first = inRow<QLineEdit>(list, 1, "DBEdit9");
    first->setFocus();
    first->clear();
    QTest::keyClick(first, Qt::Key_Space);
    QTest::keyClick(first, Qt::Key_Backspace);
    auto *firstValue = inRow<QLineEdit>(list, 1, "DBEdit10");
    firstValue->selectAll();
    QTest::keyClick(firstValue, Qt::Key_Delete);
    world.window->FormDeactivate();
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodDodatno WHERE IDOsebe=1")).toInt(), 1);

    ModalAnswer::press(QStringLiteral("Da"));
    button(world, "FlatButton9")->click();
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodDodatno WHERE IDOsebe=1")).toInt(), 0);
}

void TestPersonSubRecords::textsNoLongerThanTheirColumns()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 2);
    showSection(world, "POpombe");
    const QString tooLong(300, QLatin1Char('a'));
    auto *memo = inRow<QPlainTextEdit>(world.window->notes()->list(), 1, "DBMemo2");
    memo->setFocus();
    memo->selectAll();
    QTest::keyClicks(memo, QStringLiteral("b"));
    memo->insertPlainText(tooLong);
    QCOMPARE(memo->toPlainText().size(), 255);
    world.window->FormDeactivate();
    QCOMPARE(world.stored(QStringLiteral("SELECT Value FROM TOsnovniPodVezaOpombe WHERE IDOsebe=2 AND Sort=1")).toString(),
             QStringLiteral("b") + tooLong.left(254));
    // The dialogs take no more than the column either.
    QCOMPARE(world.contactDialog->Edit1->maxLength(), 255);
    world.noteDialog->Memo1->setPlainText(QString());
    world.noteDialog->Memo1->insertPlainText(tooLong);
    QCOMPARE(world.noteDialog->text().size(), 255);
    showSection(world, "PKontakt");
    auto *contact = inRow<QLineEdit>(world.window->contacts()->list(), 1, "DBEdit8");
    QVERIFY(contact);
    QCOMPARE(contact->maxLength(), 255);
}

void TestPersonSubRecords::tickingACategory_data()
{
    addDialectRows(QStringLiteral("tickingACategory"));
}

void TestPersonSubRecords::tickingACategory()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // Stranke and Dobavitelji
    showSection(world, "PKategorija");
    CategoryCheckList *list = world.window->categories()->list();
    QListWidgetItem *customers = list->itemOf(QStringLiteral("1"));
    QVERIFY(customers);
    QCOMPARE(customers->checkState(), Qt::Checked);
    QCOMPARE(list->itemOf(QStringLiteral("3"))->checkState(), Qt::Unchecked);

    customers->setCheckState(Qt::Unchecked);
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKategorje WHERE IDOsebe=1 AND IDkat=1")).toInt(), 0);
    // Čebelica stays a customer.
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKategorje WHERE IDOsebe=3 AND IDkat=1")).toInt(), 1);
    QCOMPARE(world.child<QLabel>("Image1")->toolTip(), QStringLiteral("Dobavitelji"));

    list->itemOf(QStringLiteral("4"))->setCheckState(Qt::Checked);
    QCOMPARE(count(world, QStringLiteral("TOsnovniPodVezaKategorje WHERE IDOsebe=1 AND IDkat=4")).toInt(), 1);
    QCOMPARE(world.child<QLabel>("Image1")->toolTip(), QStringLiteral("Dobavitelji\nZaposleni"));

    // Another person shows their own.
    world.window->QOsebe->locate(QStringLiteral("ID"), 3);
    QCOMPARE(list->itemOf(QStringLiteral("1"))->checkState(), Qt::Checked);
    QCOMPARE(list->itemOf(QStringLiteral("4"))->checkState(), Qt::Unchecked);
}

void TestPersonSubRecords::categoryStripAndHint()
{
    World world;
    // Stranke has a picture, Dobavitelji's file is missing.
    const QString folder = GetImageFolder() + QStringLiteral("Kategorije/");
    QVERIFY(QDir().mkpath(folder));
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(folder + QStringLiteral("stranke.png")));
    world.dataMod->ExecuteWork(QStringLiteral("UPDATE TKategorije SET IkonaPath='stranke.png' WHERE IDkat=1"));
    world.dataMod->ExecuteWork(QStringLiteral("UPDATE TKategorije SET IkonaPath='ni.png' WHERE IDkat=2"));
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TOsnovniPodVezaKategorje (IDOsebe, IDkat) VALUES (1, 3)"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    auto *strip = world.child<QLabel>("Image1");
    QCOMPARE(strip->toolTip(), QStringLiteral("Za osebo ni določene nobene kategorije!"));

    world.window->QOsebe->locate(QStringLiteral("ID"), 1); // Dobavitelji, Poslovni partnerji, Stranke
    QCOMPARE(strip->toolTip(), QStringLiteral("Dobavitelji\nPoslovni partnerji\nStranke"));
    // One icon, at the place of the first: a navy frame around the picture.
    const QImage drawn = strip->pixmap().toImage();
    QCOMPARE(drawn.pixelColor(2, 2), QColor(0, 0, 128));
    QCOMPARE(drawn.pixelColor(10, 10), QColor(Qt::red));
    QVERIFY(drawn.pixelColor(10 + 18, 10) != QColor(Qt::red));
}

void TestPersonSubRecords::categoriesChangedElsewhereAreListed()
{
    World world;
    world.window->QOsebe->locate(QStringLiteral("ID"), 1);
    CategoryCheckList *list = world.window->categories()->list();
    QCOMPARE(list->count(), 6);
    // Another workstation adds a category and renames one the person is in.
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ('Arhiv', '')"));
    world.dataMod->ExecuteWork(QStringLiteral("UPDATE TKategorije SET Naziv='Kupci' WHERE IDkat=1"));
    world.dataMod->MarkTableChanged(QStringLiteral("TKategorije"));
    world.window->FormActivate();
    QCOMPARE(list->count(), 7);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Arhiv"));
    QCOMPARE(list->itemOf(QStringLiteral("1"))->text(), QStringLiteral("Kupci"));
    QCOMPARE(list->itemOf(QStringLiteral("1"))->checkState(), Qt::Checked);
    QCOMPARE(world.child<QLabel>("Image1")->toolTip(), QStringLiteral("Dobavitelji\nKupci"));
}

void TestPersonSubRecords::categoryStatesKeptAcrossRefills()
{
    World world;
    CategoryCheckList list;
    Dataset *categories = world.dataMod->QKategorijeLookup;
    list.FillCategoryList(categories, false);
    // By name: Dobavitelji 2, Družina 6, Poslovni partnerji 3, Prijatelji 5, Stranke 1, Zaposleni 4.
    list.SetCategoryCheckStates(QStringLiteral("4;1/77;1//2;0/3;x"));
    QCOMPARE(list.GetCategoryCheckStates(), QStringLiteral("2;0/3;1/4;1"));
    QCOMPARE(list.itemOf(QStringLiteral("2"))->checkState(), Qt::PartiallyChecked);

    world.dataMod->ExecuteWork(QStringLiteral("DELETE * FROM TKategorije WHERE IDkat=3;"));
    categories->requery();
    list.FillCategoryList(categories, true);
    QCOMPARE(list.count(), 5);
    QCOMPARE(list.GetCategoryCheckStates(), QStringLiteral("2;0/4;1"));
    list.FillCategoryList(categories, false);
    QCOMPARE(list.GetCategoryCheckStates(), QString());
}

QTEST_MAIN(TestPersonSubRecords)
#include "tst_PersonSubRecords.moc"
