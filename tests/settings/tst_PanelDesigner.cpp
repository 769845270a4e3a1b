#include "ColourScheme.h"
#include "PanelDesigner.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTest>

#include <memory>

using namespace PanelDesign;

namespace {

// The designer shown, as on its page.
struct Designer
{
    explicit Designer(const QString &design)
    {
        widget.resize(500, 250);
        widget.load(design);
        widget.show();
    }
    QStringList listed() const
    {
        QStringList items;
        for (int i = 0; i < widget.list()->count(); ++i)
            items << widget.list()->item(i)->text();
        return items;
    }
    QList<int> cellsWithPictures() const
    {
        QList<int> cells;
        for (int n = 1; n <= 9; ++n)
            if (widget.cell(n)->pictureWidget()->isVisible())
                cells << n;
        return cells;
    }
    void selectInList(const QString &fullName) const
    {
        for (int i = 0; i < widget.list()->count(); ++i)
            if (widget.list()->item(i)->text().endsWith(QLatin1Char(';') + fullName))
                widget.list()->setCurrentRow(i);
    }
    // A drop as a real drag ends it: entered, moved over, dropped (on a list, its viewport).
    bool drop(QWidget *target, int source) const
    {
        const std::unique_ptr<QMimeData> data(PanelDesigner::dragData(source));
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    QColor colour(int cell) const { return widget.cell(cell)->palette().color(QPalette::Window); }

    PanelDesigner widget;
};

const QColor normal = ColourFromRef(16744448);
const QColor marked = ColourFromRef(16776960);

} // namespace

class TestPanelDesigner : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void showsTheValue_data();
    void showsTheValue();
    void dragFromTheListReplacesTheCell();
    void dragBetweenCells();
    void dragBackToTheList();
    void dropsThatChangeNothing();
    void markedCell();
};

void TestPanelDesigner::showsTheValue_data()
{
    QTest::addColumn<QString>("design");
    QTest::addColumn<QList<int>>("pictures");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("saved");
    QTest::newRow("blank") << "" << QList<int>{1} << 8 << "1,OP;0;0/0;0;0/0;0;0";
    QTest::newRow("address and categories") << "0;1,NA;0/0;0;0/0;0;1,KA" << QList<int>{2, 9} << 7
                                            << "0;1,NA;0/0;0;0/0;0;1,KA";
    QTest::newRow("unknown code") << "1,OP;1,QQ;0/0;0;0/0;0;0" << QList<int>{1} << 8 << "1,OP;0;0/0;0;0/0;0;0";
}

void TestPanelDesigner::showsTheValue()
{
    QFETCH(QString, design);
    Designer designer(design);
    QTEST(designer.cellsWithPictures(), "pictures");
    QTEST(int(designer.listed().size()), "listed");
    QTEST(designer.widget.designText(), "saved");
}

void TestPanelDesigner::dragFromTheListReplacesTheCell()
{
    Designer designer(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    QVERIFY(!designer.listed().contains(QStringLiteral("2;1;Naslov")));
    designer.selectInList(QStringLiteral("Alarmi"));
    QVERIFY(designer.drop(designer.widget.cell(2), 0));
    QCOMPARE(designer.widget.designText(), QStringLiteral("1,OP;1,AL;0/0;0;0/0;0;0"));
    // The address is back in the list, in its place by ID; the alarms have left it.
    QCOMPARE(designer.listed(), (QStringList{"2;1;Naslov", "3;2;Služba", "4;3;Bančni podatki", "5;4;Ostali podatki",
                                             "6;5;Kontakti", "7;6;Opombe", "9;8;Kategorije"}));
    QCOMPARE(designer.cellsWithPictures(), (QList<int>{1, 2}));
    // Onto an empty cell: nothing goes back.
    designer.selectInList(QStringLiteral("Kontakti"));
    QVERIFY(designer.drop(designer.widget.cell(9), 0));
    QCOMPARE(designer.widget.designText(), QStringLiteral("1,OP;1,AL;0/0;0;0/0;0;1,KN"));
    QCOMPARE(designer.listed().size(), 6);
}

void TestPanelDesigner::dragBetweenCells()
{
    Designer designer(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    QVERIFY(designer.drop(designer.widget.cell(5), 1));
    QCOMPARE(designer.widget.designText(), QStringLiteral("0;1,NA;0/0;1,OP;0/0;0;0"));
    QCOMPARE(designer.cellsWithPictures(), (QList<int>{2, 5}));
    // Onto a cell taken: the one there returns to the list.
    QVERIFY(designer.drop(designer.widget.cell(2), 5));
    QCOMPARE(designer.widget.designText(), QStringLiteral("0;1,OP;0/0;0;0/0;0;0"));
    QVERIFY(designer.listed().contains(QStringLiteral("2;1;Naslov")));
    QCOMPARE(designer.listed().size(), 8);
}

void TestPanelDesigner::dragBackToTheList()
{
    Designer designer(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    QVERIFY(designer.drop(designer.widget.list()->viewport(), 1));
    QCOMPARE(designer.widget.designText(), QStringLiteral("0;1,NA;0/0;0;0/0;0;0"));
    QCOMPARE(designer.listed().first(), QStringLiteral("1;0;Osnovni podatki"));
    QCOMPARE(designer.cellsWithPictures(), QList<int>{2});
}

void TestPanelDesigner::dropsThatChangeNothing()
{
    Designer designer(QStringLiteral("1,OP;1,NA;0/0;0;0/0;0;0"));
    const QString before = designer.widget.designText();
    // The list takes nothing from itself, nor an empty cell's drag.
    designer.selectInList(QStringLiteral("Opombe"));
    QVERIFY(!designer.drop(designer.widget.list()->viewport(), 0));
    designer.drop(designer.widget.list()->viewport(), 4);
    // A cell dropped on from an empty cell, or from the list with nothing selected.
    designer.drop(designer.widget.cell(1), 6);
    designer.widget.list()->clearSelection();
    designer.drop(designer.widget.cell(1), 0);
    // A drag from elsewhere is refused.
    QMimeData foreign;
    foreign.setText(QStringLiteral("1"));
    QDragMoveEvent move(QPoint(5, 5), Qt::MoveAction, &foreign, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(designer.widget.cell(3), &move);
    QVERIFY(!move.isAccepted());
    QCOMPARE(designer.widget.designText(), before);
    QCOMPARE(designer.listed().size(), 7);
    // A cell onto itself.
    QVERIFY(designer.drop(designer.widget.cell(2), 2));
    QCOMPARE(designer.widget.designText(), before);
    QCOMPARE(designer.widget.markedCell(), 2);
}

void TestPanelDesigner::markedCell()
{
    Designer designer(QStringLiteral("1,OP;0;0/0;0;0/0;0;0"));
    for (int n = 1; n <= 9; ++n)
        QCOMPARE(designer.colour(n), normal);
    QCOMPARE(designer.widget.markedCell(), 0);
    // Pressing on the picture marks its cell.
    QTest::mousePress(designer.widget.cell(1)->pictureWidget(), Qt::LeftButton);
    QCOMPARE(designer.widget.markedCell(), 1);
    QCOMPARE(designer.colour(1), marked);
    QTest::mouseRelease(designer.widget.cell(1), Qt::LeftButton);
    // An empty cell is marked too; the previous one goes back to normal.
    QTest::mouseClick(designer.widget.cell(6), Qt::LeftButton);
    QCOMPARE(designer.colour(6), marked);
    QCOMPARE(designer.colour(1), normal);
    // A drop marks its target, and the mark changes nothing of the layout.
    designer.selectInList(QStringLiteral("Naslov"));
    designer.drop(designer.widget.cell(8), 0);
    QCOMPARE(designer.widget.markedCell(), 8);
    QCOMPARE(designer.colour(8), marked);
    QCOMPARE(designer.colour(6), normal);
    QCOMPARE(designer.widget.designText(), QStringLiteral("1,OP;0;0/0;0;0/0;1,NA;0"));
    // A right click does not mark.
    QTest::mouseClick(designer.widget.cell(4), Qt::RightButton);
    QCOMPARE(designer.widget.markedCell(), 8);
}

QTEST_MAIN(TestPanelDesigner)
#include "tst_PanelDesigner.moc"
