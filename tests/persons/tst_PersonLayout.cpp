#include "PersonWindowWorld.h"
#include "PanelDesign.h"
#include "PersonRecordForm.h"
#include "SectionPanel.h"

#include <QCheckBox>

#include <QSplitter>
#include <QSplitterHandle>
#include <QTabWidget>
#include <QTest>

namespace {

const char *const tabbed[] = {"NA", "SL", "BP", "OS", "KN", "ME", "AL", "KA"};
const QMap<QString, QString> sectionOf{{"OP", "POsnovniPodatki"}, {"NA", "PNaslov"},        {"SL", "PSluzba"},
                                       {"BP", "PBancniPodatki"},  {"OS", "POstaliPodatki"}, {"KN", "PKontakt"},
                                       {"ME", "POpombe"},         {"AL", "PAlarmi"},        {"KA", "PKategorija"}};

QWidget *cell(const World &world, int r, int k)
{
    return world.window->findChild<QWidget *>(QStringLiteral("PDesign%1_%2").arg(r).arg(k));
}

// What the first tab shows: per shown row, its shown cells with the code of the section in
// each ("-" for an empty cell), as "1:OP,NA 2:KN".
QString grid(const World &world)
{
    QStringList rows;
    for (int r = 1; r <= 3; ++r) {
        if (!world.window->findChild<QWidget *>(QStringLiteral("PDesign%1").arg(r))->isVisible())
            continue;
        QStringList cells;
        for (int k = 1; k <= 3; ++k) {
            QWidget *shown = cell(world, r, k);
            if (!shown->isVisible())
                continue;
            QString code = QStringLiteral("-");
            for (auto it = sectionOf.cbegin(); it != sectionOf.cend(); ++it) {
                auto *section = world.window->form()->section(it.value());
                if (section->parentWidget() == shown && section->isVisible())
                    code = code == QLatin1String("-") ? it.key() : code + QLatin1Char('+') + it.key();
            }
            cells << code;
        }
        rows << QString::number(r) + QLatin1Char(':') + cells.join(QLatin1Char(','));
    }
    return rows.join(QLatin1Char(' '));
}

// The codes whose own tab is shown.
QStringList tabsShown(const World &world)
{
    auto *tabs = world.child<QTabWidget>("PageControl1");
    QStringList shown;
    for (const char *code : tabbed) {
        const QString page = sectionOf.value(QString::fromLatin1(code)) + QStringLiteral("Tab");
        const int index = tabs->indexOf(world.window->findChild<QWidget *>(page));
        if (index <= 0)
            return {QStringLiteral("no tab ") + page};
        if (tabs->isTabVisible(index))
            shown << QString::fromLatin1(code);
    }
    return shown;
}

const QStringList allTabs{"NA", "SL", "BP", "OS", "KN", "ME", "AL", "KA"};

} // namespace

class TestPersonLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void placesTheSections_data();
    void placesTheSections();
    void rowsAndCellsFill();
    void companySwitchInTheGrid();
    void sizesAreKept();
    void rowShownAgainTakesWhatItNeeds();
};

void TestPersonLayout::placesTheSections_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("no value") << QString() << "1:OP" << allTabs;
    QTest::newRow("all cells empty") << "0;0;0/0;0;0/0;0;0" << "1:OP" << allTabs;
    QTest::newRow("three in row 1") << "1,OP;1,NA;1,SL/0;0;0/0;0;0" << "1:OP,NA,SL"
                                    << QStringList{"BP", "OS", "KN", "ME", "AL", "KA"};
    QTest::newRow("two rows") << "1,OP;0;0/1,KN;1,ME;0/0;0;0" << "1:OP 2:KN,ME"
                              << QStringList{"NA", "SL", "BP", "OS", "AL", "KA"};
    QTest::newRow("all nine") << "1,OP;1,NA;1,SL/1,BP;1,OS;1,KN/1,ME;1,AL;1,KA" << "1:OP,NA,SL 2:BP,OS,KN 3:ME,AL,KA"
                              << QStringList();
    QTest::newRow("cell not shown") << "1,OP;0,NA;0/0;0;0/0;0;0" << "1:OP" << allTabs;
    QTest::newRow("unknown code") << "1,OP;1,ZZ;0/0;0;0/0;0;0" << "1:OP,-" << allTabs;
    QTest::newRow("named twice") << "1,OP;1,NA;0/0;0;1,NA/0;0;0" << "1:OP,- 2:NA"
                                 << QStringList{"SL", "BP", "OS", "KN", "ME", "AL", "KA"};
    QTest::newRow("only row 3") << "0;0;0/0;0;0/0;1,AL;0" << "3:AL" << QStringList{"NA", "SL", "BP", "OS", "KN", "ME", "KA"};
    QTest::newRow("garbage") << "x;;,/;;;;" << "" << allTabs;
}

void TestPersonLayout::placesTheSections()
{
    QFETCH(QString, design);
    World world(true, SqlDialect::Sqlite, design);
    world.window->QOsebe->locate(QStringLiteral("ID"), 4); // a person: the job section is not hidden
    QTEST(grid(world), "grid");
    QTEST(tabsShown(world), "tabs");
    auto *tabs = world.child<QTabWidget>("PageControl1");
    QCOMPARE(tabs->count(), 10);
    QCOMPARE(tabs->currentIndex(), 0);
    // Each cell shown is at least as large as its section needs.
    for (int r = 1; r <= 3; ++r)
        for (int k = 1; k <= 3; ++k)
            for (SectionPanel *section : cell(world, r, k)->findChildren<SectionPanel *>(Qt::FindDirectChildrenOnly))
                if (cell(world, r, k)->isVisible())
                    QCOMPARE(cell(world, r, k)->minimumSize(), section->minimumSize());
}

void TestPersonLayout::rowsAndCellsFill()
{
    {
        // Alone, row 1 fills the tab and the basic data its width.
        World world(true, SqlDialect::Sqlite, QStringLiteral("1,OP;0;0/0;0;0/0;0;0"));
        auto *design = world.child<QSplitter>("PDesign");
        QCOMPARE(world.child<QWidget>("PDesign1")->height(), design->height());
        QCOMPARE(cell(world, 1, 1)->width(), design->width());
        QCOMPARE(world.window->form()->section(QStringLiteral("PSluzba"))->minimumSize(), QSize(350, 100));
    }
    {
        // Row 2 fills what row 1 leaves; the splitter between them and between the two
        // cells of row 2 is there, the one after a hidden cell is not.
        World world(true, SqlDialect::Sqlite, QStringLiteral("1,OP;0;0/1,KN;1,ME;0/0;0;0"));
        auto *design = world.child<QSplitter>("PDesign");
        auto *row1 = world.child<QWidget>("PDesign1");
        auto *row2 = world.child<QSplitter>("PDesign2");
        QCOMPARE(row2->geometry().bottom(), design->height() - 1);
        QVERIFY2(row2->height() > row1->height(), qPrintable(QStringLiteral("%1 %2").arg(row1->height()).arg(row2->height())));
        QVERIFY(world.child<QSplitterHandle>("SplitterD1")->isVisible());
        QVERIFY(!world.child<QSplitterHandle>("SplitterD2")->isVisible());
        QVERIFY(world.child<QSplitterHandle>("SplitterD2_1")->isVisible());
        QVERIFY(!world.child<QSplitterHandle>("SplitterD2_2")->isVisible());
        // Cell 2 fills the row after cell 1's own width.
        QCOMPARE(cell(world, 2, 2)->geometry().right(), row2->width() - 1);
        QVERIFY(cell(world, 2, 2)->width() > cell(world, 2, 1)->width());
    }
    {
        // With cell 3 shown, cells 1 and 2 keep their widths and cell 3 takes the rest.
        World world(true, SqlDialect::Sqlite, QStringLiteral("1,OP;1,NA;1,KA/0;0;0/0;0;0"));
        auto *row1 = world.child<QSplitter>("PDesign1");
        const int third = cell(world, 1, 3)->width();
        QVERIFY(third > cell(world, 1, 1)->width());
        QVERIFY(third > cell(world, 1, 2)->width());
        QCOMPARE(cell(world, 1, 3)->geometry().right(), row1->width() - 1);
    }
}

void TestPersonLayout::companySwitchInTheGrid()
{
    World world(true, SqlDialect::Sqlite, QStringLiteral("1,OP;1,SL;0/0;0;0/0;0;0"));
    auto *job = world.window->form()->section(QStringLiteral("PSluzba"));
    world.window->QOsebe->locate(QStringLiteral("ID"), 4); // a person
    QVERIFY(job->isVisible());
    QVERIFY(cell(world, 1, 2)->isVisible());
    world.window->QOsebe->locate(QStringLiteral("ID"), 5); // a company
    QVERIFY(!job->isVisible());
    QVERIFY(!cell(world, 1, 2)->isVisible());
    QVERIFY(!tabsShown(world).contains(QStringLiteral("SL")));
    // Ticked on a person, the section goes at once, and comes back untick.
    world.window->QOsebe->locate(QStringLiteral("ID"), 4);
    world.child<QCheckBox>("DBCheckBox1")->click();
    QVERIFY(!job->isVisible());
    world.child<QCheckBox>("DBCheckBox1")->click();
    QVERIFY(job->isVisible());
    QVERIFY(cell(world, 1, 2)->isVisible());
    QVERIFY(!tabsShown(world).contains(QStringLiteral("SL")));
}

void TestPersonLayout::sizesAreKept()
{
    World world(true, SqlDialect::Sqlite, QStringLiteral("1,OP;1,NA;0/1,KN;0;0/0;0;0"));
    auto *design = world.child<QSplitter>("PDesign");
    auto *row1 = world.child<QSplitter>("PDesign1");
    design->setSizes({300, design->height() - 300 - design->handleWidth(), 0});
    row1->setSizes({260, row1->width() - 260 - row1->handleWidth(), 0});
    QTest::qWait(0);
    const int height = world.child<QWidget>("PDesign1")->height();
    const int width = cell(world, 1, 1)->width();
    QCOMPARE(width, 260);
    // The next window is made in the sizes this one had.
    world.window.reset();
    world.window = std::make_unique<TFVeldra>();
    world.window->resize(1000, 700);
    world.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(world.window.get()));
    QCOMPARE(world.child<QWidget>("PDesign1")->height(), height);
    QCOMPARE(cell(world, 1, 1)->width(), width);
}

// A row hidden when the window closed has no height to keep: shown again by a new layout,
// it gets what it would get in a new installation, not a sliver.
void TestPersonLayout::rowShownAgainTakesWhatItNeeds()
{
    const QString twoRows = QStringLiteral("1,OP;0;0/1,KN;0;0/0;0;0");
    const auto reopen = [](World &world) {
        world.window.reset();
        world.window = std::make_unique<TFVeldra>();
        world.window->resize(1000, 700);
        world.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(world.window.get()));
    };
    World world(true, SqlDialect::Sqlite, twoRows);
    const int fresh = world.child<QWidget>("PDesign2")->height();
    QVERIFY(fresh > 100);

    PanelDesign::WritePanelLayout(QStringLiteral("1,OP;0;0/0;0;0/0;0;0"));
    reopen(world);
    QVERIFY(world.child<QWidget>("PDesign2")->isHidden());
    PanelDesign::WritePanelLayout(twoRows);
    reopen(world);
    QCOMPARE(world.child<QWidget>("PDesign2")->height(), fresh);
}

QTEST_MAIN(TestPersonLayout)
#include "tst_PersonLayout.moc"
