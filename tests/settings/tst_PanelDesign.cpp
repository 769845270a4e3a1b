#include "PanelDesign.h"
#include "Settings.h"
#include "TestInstallation.h"

#include <QTest>

using namespace PanelDesign;

class TestPanelDesign : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void parsesIntoTheTable_data();
    void parsesIntoTheTable();
    void cellTexts_data();
    void cellTexts();
    void readsTheStoredValueWithItsDefault();
    void placingKeepsOnePanelPerCell();
};

void TestPanelDesign::parsesIntoTheTable_data()
{
    QTest::addColumn<QString>("design");
    // The placed codes, cell by cell ("" for an empty cell), and the text written back.
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("written");
    const QStringList onlyBasic{"OP", "", "", "", "", "", "", "", ""};
    const QString defaultText = QStringLiteral("1,OP;0;0/0;0;0/0;0;0");
    QTest::newRow("blank") << "" << onlyBasic << defaultText;
    QTest::newRow("spaces only") << "   " << onlyBasic << defaultText;
    QTest::newRow("all cells empty") << "0;0;0/0;0;0/0;0;0" << onlyBasic << defaultText;
    QTest::newRow("address and categories") << "0;1,NA;0/0;0;0/0;0;1,KA"
                                            << QStringList{"", "NA", "", "", "", "", "", "", "KA"}
                                            << "0;1,NA;0/0;0;0/0;0;1,KA";
    QTest::newRow("all nine") << "1,OP;1,NA;1,SL/1,BP;1,OS;1,KN/1,ME;1,AL;1,KA"
                              << QStringList{"OP", "NA", "SL", "BP", "OS", "KN", "ME", "AL", "KA"}
                              << "1,OP;1,NA;1,SL/1,BP;1,OS;1,KN/1,ME;1,AL;1,KA";
    QTest::newRow("unknown code ignored") << "1,OP;1,XX;0/0;0;0/0;0;0" << onlyBasic << defaultText;
    QTest::newRow("codes trimmed") << "1, NA ;0;0/0;0;0/0;0;0" << QStringList{"NA", "", "", "", "", "", "", "", ""}
                                   << "1,NA;0;0/0;0;0/0;0;0";
    QTest::newRow("hidden form ignored") << "0,NA;1,OP;0/0;0;0/0;0;0" << QStringList{"", "OP", "", "", "", "", "", "", ""}
                                         << "0;1,OP;0/0;0;0/0;0;0";
    QTest::newRow("later cell wins") << "1,NA;0;0/0;1,NA;0/0;0;0" << QStringList{"", "", "", "", "NA", "", "", "", ""}
                                     << "0;0;0/0;1,NA;0/0;0;0";
    QTest::newRow("missing rows and cells") << "1,KN" << QStringList{"KN", "", "", "", "", "", "", "", ""}
                                            << "1,KN;0;0/0;0;0/0;0;0";
    QTest::newRow("flag without code") << "1;1,;1,ME" << QStringList{"", "", "ME", "", "", "", "", "", ""}
                                       << "0;0;1,ME/0;0;0/0;0;0";
    QTest::newRow("nothing valid") << "x/y;z/,,,;;" << QStringList(9, QString()) << "0;0;0/0;0;0/0;0;0";
    QTest::newRow("extra parts ignored") << "1,OP,9;0;0;1,NA/0;0;0/0;0;0/1,KA" << onlyBasic << defaultText;
}

void TestPanelDesign::parsesIntoTheTable()
{
    QFETCH(QString, design);
    QFETCH(QStringList, cells);
    QFETCH(QString, written);
    PanelTable table;
    table.load(design);
    QStringList placed;
    for (int cell = 1; cell <= 9; ++cell) {
        const Panel *panel = table.inCell(cell);
        placed << (panel ? panel->name : QString());
        if (panel)
            QVERIFY(panel->visible);
    }
    QCOMPARE(placed, cells);
    QCOMPARE(table.design(), written);
    // Every panel not placed is unplaced and not shown.
    for (const Panel &panel : table.panels())
        QCOMPARE(panel.visible, panel.inLocation > 0);
}

void TestPanelDesign::cellTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("code");
    QTest::newRow("empty") << "0" << false << "";
    QTest::newRow("placed") << "1,SL" << true << "SL";
    QTest::newRow("spaces") << " 1 , SL " << true << "SL";
    QTest::newRow("not shown") << "0,NA" << false << "NA";
    QTest::newRow("no code") << "1," << false << "";
    QTest::newRow("other flag") << "2,NA" << false << "NA";
    QTest::newRow("nothing") << "" << false << "";
}

void TestPanelDesign::cellTexts()
{
    QFETCH(QString, text);
    const Cell cell = parseCell(text);
    QTEST(cell.shown, "shown");
    QTEST(cell.code, "code");
}

void TestPanelDesign::readsTheStoredValueWithItsDefault()
{
    TestInstallation installation;
    QCOMPARE(ReadPanelLayout(), QStringLiteral("1,OP;0;0/0;0;0/0;0;0"));
    WritePanelLayout(QStringLiteral("0;0;0/0;0;0/0;0;0"));
    QCOMPARE(ReadPanelLayout(), QStringLiteral("1,OP;0;0/0;0;0/0;0;0"));
    WritePanelLayout(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    QCOMPARE(ReadRegString(QString::fromLatin1(KeyNastavitve), QStringLiteral("Design")), QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    QCOMPARE(ReadPanelLayout(), QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    // Anything else is passed on as stored; the readers take what they understand of it.
    WritePanelLayout(QStringLiteral("garbage"));
    QCOMPARE(ReadPanelLayout(), QStringLiteral("garbage"));
}

void TestPanelDesign::placingKeepsOnePanelPerCell()
{
    PanelTable table;
    QCOMPARE(table.panels().size(), 9);
    QCOMPARE(table.byId(6)->fullName, QStringLiteral("Kontakti"));
    QCOMPARE(table.byId(3)->fullName, QStringLiteral("Služba"));
    table.load(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    table.place(8, 2); // alarms onto the address
    QCOMPARE(table.inCell(2)->name, QStringLiteral("AL"));
    QCOMPARE(table.byId(2)->inLocation, 0);
    QVERIFY(!table.byId(2)->visible);
    table.place(8, 7); // and on to another cell
    QVERIFY(!table.inCell(2));
    QCOMPARE(table.design(), QStringLiteral("1,OP;0;0/0;0;0/1,AL;0;0"));
    table.takeOut(1);
    QCOMPARE(table.design(), QStringLiteral("0;0;0/0;0;0/1,AL;0;0"));
    table.place(42, 1); // no such panel
    table.place(1, 10); // no such cell
    QCOMPARE(table.design(), QStringLiteral("0;0;0/0;0;0/1,AL;0;0"));
}

QTEST_GUILESS_MAIN(TestPanelDesign)
#include "tst_PanelDesign.moc"
