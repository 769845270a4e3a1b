#include "CategoryCheckList.h"
#include "CategoryFilterPanel.h"
#include "PersonCategories.h"
#include "PersonDrag.h"
#include "PersonSearchPanel.h"
#include "PersonWindowWorld.h"

#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>

namespace {

CategoryFilterPanel *filterOf(const World &world)
{
    return world.window->search()->filter();
}

QListWidgetItem *filterItem(const World &world, const char *first)
{
    return filterOf(world)->list()->itemOf(QString::fromLatin1(first));
}

// The browse list's persons, by key.
QString listed(const World &world)
{
    QStringList ids;
    Dataset *list = world.window->QPregled;
    for (int recNo = 1; recNo <= list->recordCount(); ++recNo)
        ids << list->valueAt(recNo, list->fieldIndex(QStringLiteral("ID"))).toString();
    return ids.join(QLatin1Char(','));
}

void rightClick(const World &world, const char *first)
{
    CategoryCheckList *list = filterOf(world)->list();
    const QRect item = list->visualItemRect(list->itemOf(QString::fromLatin1(first)));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, item.center());
}

// A person dragged onto the item, as the drag from the title bar or the browse list ends.
bool drop(const World &world, const char *first, bool withPerson = true)
{
    CategoryCheckList *list = filterOf(world)->list();
    const QPoint at = first ? list->visualItemRect(list->itemOf(QString::fromLatin1(first))).center() : QPoint(5, 5000);
    std::unique_ptr<QMimeData> data(withPerson ? PersonDrag::personData(world.window->QOsebe->value(QStringLiteral("ID")))
                                               : new QMimeData);
    QDragEnterEvent enter(at, Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(at), Qt::LinkAction, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &dropped);
    return dropped.isAccepted();
}

QVariant member(const World &world, int person, int category)
{
    return world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaKategorje WHERE IDOsebe=%1 AND IDkat=%2").arg(person).arg(category));
}

}

class TestPersonFilter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filterPanel();
    void tickGreyAndKindNarrowTheList();
    void statesAreKeptAcrossAStart();
    void categoriesChangedElsewhereKeepTheStates();
    void droppingAPersonOnACategory_data();
    void droppingAPersonOnACategory();
};

void TestPersonFilter::filterPanel()
{
    World world;
    CategoryCheckList *list = filterOf(world)->list();
    // The company item, then the named categories by name.
    QCOMPARE(list->item(0)->text(), QStringLiteral("Podjetje"));
    QCOMPARE(CategoryCheckList::itemField(list->item(0), 1), QStringLiteral("P"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Dobavitelji"));
    QCOMPARE(list->count(), 7);
    QCOMPARE(world.child<QLabel>("Panel18")->text(), QStringLiteral(" Prikaži samo kategorije "));
    QCOMPARE(filterOf(world)->kindSelector()->currentText(), QStringLiteral("Fizična ali pravna oseba"));
    QCOMPARE(world.window->search()->FilterExpression, QString());
    QCOMPARE(listed(world), QStringLiteral("5,1,2,4,3"));
}

void TestPersonFilter::tickGreyAndKindNarrowTheList()
{
    World world;
    // A left click ticks.
    filterItem(world, "1")->setCheckState(Qt::Checked);
    QCOMPARE(world.window->search()->FilterExpression, QStringLiteral("((IDkat=1))"));
    QCOMPARE(listed(world), QStringLiteral("1,3"));
    // A right click greys, and a second one clears.
    rightClick(world, "2");
    QCOMPARE(filterItem(world, "2")->checkState(), Qt::PartiallyChecked);
    QCOMPARE(listed(world), QStringLiteral("1,3"));
    rightClick(world, "1");
    QCOMPARE(filterItem(world, "1")->checkState(), Qt::PartiallyChecked);
    // Ana is in both, Bojan also in another.
    QCOMPARE(listed(world), QStringLiteral("5,2,4"));
    rightClick(world, "1");
    rightClick(world, "2");
    QCOMPARE(filterItem(world, "1")->checkState(), Qt::Unchecked);
    QCOMPARE(listed(world), QStringLiteral("5,1,2,4,3"));

    filterOf(world)->kindSelector()->setCurrentIndex(2);
    filterItem(world, "P")->setCheckState(Qt::Checked);
    QCOMPARE(listed(world), QStringLiteral("5,3"));
    // The employer search names the listed person's own fields.
    filterOf(world)->kindSelector()->setCurrentIndex(1);
    filterItem(world, "P")->setCheckState(Qt::Unchecked);
    world.chooseSearch(5);
    QCOMPARE(world.window->QPregled->sql().contains(QLatin1String("(Not TOsnovniPod.PravnaOseba)")), true);
    QCOMPARE(listed(world), QStringLiteral("2,1"));
}

void TestPersonFilter::statesAreKeptAcrossAStart()
{
    World world;
    filterItem(world, "1")->setCheckState(Qt::Checked);
    rightClick(world, "3");
    filterItem(world, "P")->setCheckState(Qt::Checked);
    world.window->FormDeactivate();
    QCOMPARE(ReadRegString(QStringLiteral("Software\\Veldra\\GlavnoOkno"), QStringLiteral("KategorijeLastState")),
             QStringLiteral("P;1/3;0/1;1"));

    // A category deleted meanwhile is passed over.
    WriteRegString(QStringLiteral("Software\\Veldra\\GlavnoOkno"), QStringLiteral("KategorijeLastState"),
                   QStringLiteral("P;1/3;0/1;1/77;1"));
    world.window.reset();
    world.window = std::make_unique<TFVeldra>();
    QCOMPARE(filterItem(world, "1")->checkState(), Qt::Checked);
    QCOMPARE(filterItem(world, "3")->checkState(), Qt::PartiallyChecked);
    QCOMPARE(filterItem(world, "P")->checkState(), Qt::Checked);
    QCOMPARE(filterItem(world, "2")->checkState(), Qt::Unchecked);
    // The search runs with the restored filter.
    QCOMPARE(listed(world), QStringLiteral("3"));
}

void TestPersonFilter::categoriesChangedElsewhereKeepTheStates()
{
    World world;
    filterItem(world, "1")->setCheckState(Qt::Checked);
    world.dataMod->ExecuteWork(QStringLiteral("INSERT INTO TKategorije (Naziv, IkonaPath) VALUES ('Arhiv', '')"));
    world.dataMod->ExecuteWork(QStringLiteral("UPDATE TKategorije SET Naziv='Kupci' WHERE IDkat=1"));
    world.dataMod->MarkTableChanged(QStringLiteral("TKategorije"));
    world.window->FormActivate();
    CategoryCheckList *list = filterOf(world)->list();
    QCOMPARE(list->count(), 8);
    QCOMPARE(list->item(1)->text(), QStringLiteral("Arhiv"));
    QCOMPARE(filterItem(world, "1")->text(), QStringLiteral("Kupci"));
    QCOMPARE(filterItem(world, "1")->checkState(), Qt::Checked);
}

void TestPersonFilter::droppingAPersonOnACategory_data()
{
    addDialectRows(QStringLiteral("drop"));
}

void TestPersonFilter::droppingAPersonOnACategory()
{
    VELDRA_FETCH_WORLD(world);
    world.window->QOsebe->locate(QStringLiteral("ID"), 3); // Čebelica, a customer
    QSignalSpy listRead(world.window->QPregled, &Dataset::rowsRead);
    auto *strip = world.child<QLabel>("Image1");

    QVERIFY(drop(world, "1"));
    QCOMPARE(member(world, 3, 1).toInt(), 0);
    QCOMPARE(strip->toolTip(), QStringLiteral("Za osebo ni določene nobene kategorije!"));
    QCOMPARE(world.window->categories()->list()->itemOf(QStringLiteral("1"))->checkState(), Qt::Unchecked);
    QVERIFY(drop(world, "1"));
    QCOMPARE(member(world, 3, 1).toInt(), 1);
    QCOMPARE(strip->toolTip(), QStringLiteral("Stranke"));
    // Ana stays a customer; the browse list was not read again.
    QCOMPARE(member(world, 1, 1).toInt(), 1);
    QCOMPARE(listRead.count(), 0);

    // The company item, no item, and other data take no drop.
    QVERIFY(!drop(world, "P") || member(world, 3, 1).toInt() == 1);
    QVERIFY(!drop(world, nullptr));
    QVERIFY(!drop(world, "2", false));
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TOsnovniPodVezaKategorje WHERE IDOsebe=3")).toInt(), 1);
}

QTEST_MAIN(TestPersonFilter)
#include "tst_PersonFilter.moc"
