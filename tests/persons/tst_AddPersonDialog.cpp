#include "Dataset.h"
#include "NameComboBox.h"
#include "FlatButton.h"
#include "ModalAnswer.h"
#include "Settings.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "Typing.h"
#include "UDataMod.h"
#include "UFDodajOsebo.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

struct World
{
    World()
    {
        database.useIn(installation);
        dataMod = std::make_unique<TDataMod>();
        AutoShiftNames = true;
    }
    TestInstallation installation;
    TestDatabase database{SqlDialect::Sqlite};
    std::unique_ptr<TDataMod> dataMod;
    TFDodajOsebo dialog;

    QVariantMap row(int id)
    {
        QSqlQuery query = dataMod->database().run(QStringLiteral("SELECT * FROM TOsnovniPod WHERE ID = :ID"), {{QStringLiteral("ID"), id}});
        QVariantMap values;
        if (query.next())
            for (const char *name : {"Podjetje", "Sifra", "Naziv", "Ime", "SrednjeIme", "Priimek", "CelotnoIme"})
                values.insert(QString::fromLatin1(name), query.value(QString::fromLatin1(name)));
        return values;
    }
};

void type(QComboBox *box, const QString &text)
{
    box->lineEdit()->setFocus();
    typeText(box->lineEdit(), text);
}

}

class TestAddPersonDialog : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void personWithFirstNameOnly();
    void personNeedsAFirstName();
    void companyWithNameOnly();
    void namesAreCapitalisedAsTyped_data();
    void namesAreCapitalisedAsTyped();
    void refusedRowIsToldAndTheInputKept();
};

void TestAddPersonDialog::personWithFirstNameOnly()
{
    World world;
    ModalAnswer::whenShown([&world](QWidget *) {
        QVERIFY(world.dialog.Edit1->hasFocus());
        QVERIFY(!world.dialog.Edit2->isVisible());
        QCOMPARE(world.dialog.ComboBox2->count(), 2);
        type(world.dialog.ComboBox2, QStringLiteral("Janez "));
        world.dialog.okButton()->click();
    });
    const int id = world.dialog.ShowAddPersonDialog(false, {QStringLiteral("dr.")}, {QStringLiteral("Ana"), QStringLiteral("Janez")}, {},
                                                    {QStringLiteral("Novak")});
    QVERIFY(id > 0);
    const QVariantMap row = world.row(id);
    QCOMPARE(row[QStringLiteral("CelotnoIme")].toString(), QStringLiteral("Janez"));
    QCOMPARE(row[QStringLiteral("Ime")].toString(), QStringLiteral("Janez "));
    QCOMPARE(row[QStringLiteral("Podjetje")].toString(), QStringLiteral("False"));
    for (const char *empty : {"Naziv", "SrednjeIme", "Priimek", "Sifra"})
        QVERIFY2(row[QString::fromLatin1(empty)].isNull(), empty);
}

void TestAddPersonDialog::personNeedsAFirstName()
{
    World world;
    bool stayed = false;
    ModalAnswer::whenShown([&](QWidget *) {
        type(world.dialog.ComboBox1, QStringLiteral("Dr."));
        type(world.dialog.ComboBox3, QStringLiteral("Novak"));
        world.dialog.okButton()->click();
        stayed = world.dialog.isVisible();
        world.dialog.cancelButton()->click();
    });
    QCOMPARE(world.dialog.ShowAddPersonDialog(false, {}, {}, {}, {}), 0);
    QVERIFY(stayed);
    QCOMPARE(world.dataMod->CountPersons(), 0);
}

void TestAddPersonDialog::companyWithNameOnly()
{
    World world;
    ModalAnswer::whenShown([&](QWidget *) {
        QVERIFY(world.dialog.CheckBox1->isChecked());
        QVERIFY(world.dialog.Edit2->isVisible());
        QVERIFY(!world.dialog.ComboBox2->isVisible());
        QVERIFY(!world.dialog.ComboBox3->isVisible());
        world.dialog.okButton()->click(); // no name yet: it stays
        world.dialog.Edit2->setFocus();
        typeText(world.dialog.Edit2, QStringLiteral("Čebelarstvo Kos d.o.o."));
        world.dialog.okButton()->click();
    });
    const int id = world.dialog.ShowAddPersonDialog(true, {}, {}, {}, {});
    const QVariantMap row = world.row(id);
    QCOMPARE(row[QStringLiteral("CelotnoIme")].toString(), QStringLiteral("Čebelarstvo Kos d.o.o."));
    QCOMPARE(row[QStringLiteral("Podjetje")].toString(), QStringLiteral("True"));
    QVERIFY(row[QStringLiteral("Ime")].isNull());
    QVERIFY(row[QStringLiteral("Priimek")].isNull());
}

void TestAddPersonDialog::namesAreCapitalisedAsTyped_data()
{
    QTest::addColumn<bool>("autoShift");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("fullName");
    QTest::newRow("capitalised") << true << "Marija" << "Marija kOS";
    QTest::newRow("as typed") << false << "mARIJA" << "mARIJA kOS";
}

void TestAddPersonDialog::namesAreCapitalisedAsTyped()
{
    QFETCH(bool, autoShift);
    QFETCH(QString, first);
    QFETCH(QString, fullName);
    World world;
    AutoShiftNames = autoShift;
    ModalAnswer::whenShown([&](QWidget *) {
        type(world.dialog.ComboBox2, QStringLiteral("mARIJA"));
        world.dialog.ComboBox3->lineEdit()->setText(QStringLiteral("kOS")); // set, not typed: left alone
        world.dialog.okButton()->click();
    });
    const int id = world.dialog.ShowAddPersonDialog(false, {}, {}, {}, {});
    QCOMPARE(world.row(id)[QStringLiteral("Ime")].toString(), first);
    QCOMPARE(world.row(id)[QStringLiteral("CelotnoIme")].toString(), fullName);
    AutoShiftNames = true;
}

void TestAddPersonDialog::refusedRowIsToldAndTheInputKept()
{
    World world;
    // No box takes more than its column keeps.
    type(world.dialog.ComboBox1, QString(60, QLatin1Char('d')));
    QCOMPARE(world.dialog.ComboBox1->currentText().size(), 50);

    // Parts that fit their columns can still make a full name longer than its column.
    const QString first(200, QLatin1Char('a')), surname(100, QLatin1Char('b'));
    std::shared_ptr<ModalAnswer::Seen> refusal;
    QString firstShownAgain;
    ModalAnswer::whenShown([&](QWidget *) {
        world.dialog.ComboBox1->setEditText(QString());
        type(world.dialog.ComboBox2, first);
        type(world.dialog.ComboBox3, surname);
        refusal = ModalAnswer::press(QStringLiteral("V redu"));
        ModalAnswer::whenShown([&](QWidget *) {
            firstShownAgain = world.dialog.ComboBox2->currentText();
            world.dialog.cancelButton()->click();
        });
        world.dialog.okButton()->click();
    });
    QCOMPARE(world.dialog.ShowAddPersonDialog(false, {}, {}, {}, {}), 0);
    QVERIFY(refusal && refusal->shown);
    QVERIFY(refusal->text.startsWith(QStringLiteral("Vnosa ni mogoče shraniti.")));
    QCOMPARE(firstShownAgain.toLower(), first);
    QCOMPARE(world.dataMod->CountPersons(), 0);

    // The refused row is not left behind: the next person is added.
    ModalAnswer::whenShown([&](QWidget *) {
        type(world.dialog.ComboBox2, QStringLiteral("Ana"));
        world.dialog.okButton()->click();
    });
    QVERIFY(world.dialog.ShowAddPersonDialog(false, {}, {}, {}, {}) > 0);
    QCOMPARE(world.dataMod->CountPersons(), 1);
}

QTEST_MAIN(TestAddPersonDialog)
#include "tst_AddPersonDialog.moc"
