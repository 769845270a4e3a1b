#include "RowOrder.h"

#include <QRandomGenerator>
#include <QTest>

// A list read again after changes is put in exactly the order that sorting it afresh gives.
class TestRowOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readAgainAfterAChange_data();
    void readAgainAfterAChange();
    void readAgainAfterRandomChanges();
};

namespace {

constexpr int Stride = 3; // key, name, a second value

const QList<std::pair<int, bool>> ByName{{1, false}};

QString randomName(QRandomGenerator &random)
{
    // Few names, so that many rows hold the same one; accents that weigh only on a lower level.
    static const char *const first[] = {"Ana", "Žiga", "Mulder", "Müller", "Mullins", "čas", "Cvet", "ana", "Ärger", "Arger"};
    static const char *const last[] = {"", " Novak", " Kos", " Šerbec", " Horvat"};
    return QString::fromUtf8(first[random.bounded(10)]) + QString::fromUtf8(last[random.bounded(5)]);
}

std::vector<QVariant> randomList(int rows, QRandomGenerator &random)
{
    std::vector<QVariant> values;
    for (int key = 1; key <= rows; ++key) {
        values.push_back(key);
        values.push_back(key % 97 == 0 ? QVariant() : QVariant(randomName(random)));
        values.push_back(random.bounded(3));
    }
    return values;
}

void insertRow(std::vector<QVariant> &values, int at, int key, const QVariant &name, int second)
{
    values.insert(values.begin() + ptrdiff_t(at) * Stride, {QVariant(key), name, QVariant(second)});
}

void removeRow(std::vector<QVariant> &values, int at)
{
    values.erase(values.begin() + ptrdiff_t(at) * Stride, values.begin() + ptrdiff_t(at + 1) * Stride);
}

enum class Change { None, AddedAtEnd, AddedInside, RemovedFirst, RemovedInside, Renamed, SecondTerm, ManyRenamed, Reversed, Descending };

void change(std::vector<QVariant> &values, Change what, QRandomGenerator &random)
{
    const int rows = int(values.size()) / Stride;
    switch (what) {
    case Change::None:
        break;
    case Change::AddedAtEnd:
        insertRow(values, rows, rows + 1, QStringLiteral("Ana Kos"), 1);
        break;
    case Change::AddedInside:
        insertRow(values, 10, rows + 1, QStringLiteral("Mullins"), 0);
        insertRow(values, 11, rows + 2, QVariant(), 0);
        break;
    case Change::RemovedFirst:
        removeRow(values, 0);
        break;
    case Change::RemovedInside:
        for (const int at : {400, 200, 199, 30})
            removeRow(values, at);
        break;
    case Change::Renamed:
        values[size_t(5 * Stride + 1)] = QStringLiteral("Müller Horvat");
        values[size_t(6 * Stride + 1)] = QVariant();
        break;
    case Change::SecondTerm:
        for (int row = 0; row < rows; row += 50)
            values[size_t(row * Stride + 2)] = 2 - values[size_t(row * Stride + 2)].toInt();
        break;
    case Change::ManyRenamed:
        for (int row = 0; row < rows; row += 3)
            values[size_t(row * Stride + 1)] = randomName(random);
        break;
    case Change::Reversed:
        for (int row = 0; row < rows / 2; ++row)
            std::swap_ranges(values.begin() + ptrdiff_t(row) * Stride, values.begin() + ptrdiff_t(row + 1) * Stride,
                             values.begin() + ptrdiff_t(rows - 1 - row) * Stride);
        break;
    case Change::Descending:
        break;
    }
}

}

void TestRowOrder::readAgainAfterAChange_data()
{
    QTest::addColumn<int>("what");
    QTest::newRow("nothing") << int(Change::None);
    QTest::newRow("a row added at the end") << int(Change::AddedAtEnd);
    QTest::newRow("rows added among the others") << int(Change::AddedInside);
    QTest::newRow("the first row removed") << int(Change::RemovedFirst);
    QTest::newRow("rows removed here and there") << int(Change::RemovedInside);
    QTest::newRow("names changed") << int(Change::Renamed);
    QTest::newRow("the second term changed") << int(Change::SecondTerm);
    QTest::newRow("a third of the names changed") << int(Change::ManyRenamed);
    QTest::newRow("read in the reverse order") << int(Change::Reversed);
    QTest::newRow("the same rows, ordered the other way") << int(Change::Descending);
}

void TestRowOrder::readAgainAfterAChange()
{
    QFETCH(int, what);
    QRandomGenerator random(7);
    std::vector<QVariant> values = randomList(2000, random);
    const QList<std::pair<int, bool>> terms{{1, false}, {2, true}};
    RowOrder::Incremental order;
    QCOMPARE(order.order(values, Stride, terms), RowOrder::order(values, Stride, terms));

    change(values, Change(what), random);
    const QList<std::pair<int, bool>> again = Change(what) == Change::Descending ? QList<std::pair<int, bool>>{{1, true}, {2, true}} : terms;
    QCOMPARE(order.order(values, Stride, again), RowOrder::order(values, Stride, again));
}

void TestRowOrder::readAgainAfterRandomChanges()
{
    QRandomGenerator random(11);
    std::vector<QVariant> values = randomList(3000, random);
    int nextKey = 3001;
    RowOrder::Incremental order;
    for (int read = 0; read < 60; ++read) {
        QCOMPARE(order.order(values, Stride, ByName), RowOrder::order(values, Stride, ByName));
        for (int edit = random.bounded(1, 12); edit > 0; --edit) {
            const int rows = int(values.size()) / Stride;
            const int at = random.bounded(rows);
            switch (random.bounded(3)) {
            case 0:
                insertRow(values, random.bounded(2) ? rows : at, nextKey++, randomName(random), 0);
                break;
            case 1:
                removeRow(values, at);
                break;
            default:
                values[size_t(at * Stride + 1)] = randomName(random);
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestRowOrder)
#include "tst_RowOrder.moc"
