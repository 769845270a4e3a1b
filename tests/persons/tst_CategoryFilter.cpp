#include "CategoryFilter.h"
#include "Database.h"
#include "PersonsFixture.h"
#include "SearchDefinition.h"
#include "TestDatabase.h"

#include <QSqlRecord>
#include <QTest>

using States = QList<std::pair<QString, Qt::CheckState>>;
Q_DECLARE_METATYPE(States)

namespace {

States items(std::initializer_list<std::pair<const char *, Qt::CheckState>> given)
{
    States result;
    for (const auto &[first, state] : given)
        result.append({QString::fromLatin1(first), state});
    return result;
}

constexpr auto ticked = Qt::Checked;
constexpr auto grey = Qt::PartiallyChecked;
constexpr auto none = Qt::Unchecked;

}

// The category filter's condition: its exact text, and the persons it lets through.
class TestCategoryFilter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void expression_data();
    void expression();
    void expressionSelectsPersons_data();
    void expressionSelectsPersons();
};

void TestCategoryFilter::expression_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<States>("states");
    QTest::addColumn<bool>("qualified");
    QTest::addColumn<QString>("expected");

    QTest::newRow("nothing chosen") << 0 << items({{"P", none}, {"3", none}}) << false << QString();
    QTest::newRow("two ticked") << 0 << items({{"P", none}, {"3", ticked}, {"5", ticked}}) << false
                                << QStringLiteral("((IDkat=3) OR (IDkat=5))");
    QTest::newRow("one grey") << 0 << items({{"7", grey}}) << false << QStringLiteral("((IDkat Is Null) OR (NOT ((IDkat=7))))");
    QTest::newRow("ticked and grey") << 0 << items({{"3", ticked}, {"7", grey}}) << false
                                     << QStringLiteral("((IDkat=3)) AND ((IDkat Is Null) OR (NOT ((IDkat=7))))");
    QTest::newRow("two grey") << 0 << items({{"7", grey}, {"9", grey}}) << false
                              << QStringLiteral("((IDkat Is Null) OR (NOT ((IDkat=7) OR (IDkat=9))))");
    QTest::newRow("natural persons") << 1 << States() << false << QStringLiteral("((Not PravnaOseba))");
    QTest::newRow("legal persons that are companies") << 2 << items({{"P", ticked}}) << false
                                                      << QStringLiteral("((PravnaOseba) AND (Podjetje=\"True\"))");
    QTest::newRow("not companies") << 0 << items({{"P", grey}}) << false << QStringLiteral("((NOT Podjetje=\"True\"))");
    QTest::newRow("kind and categories") << 1 << items({{"P", grey}, {"3", ticked}, {"7", grey}}) << false
                                         << QStringLiteral("((IDkat=3)) AND ((IDkat Is Null) OR (NOT ((IDkat=7)))) AND "
                                                           "(((Not PravnaOseba) AND (NOT Podjetje=\"True\")))");
    QTest::newRow("kind and exclusion") << 2 << items({{"7", grey}}) << false
                                        << QStringLiteral("((IDkat Is Null) OR (NOT ((IDkat=7)))) AND (((PravnaOseba)))");
    QTest::newRow("only whole numbers above 0") << 0 << items({{"3) OR (1=1", ticked}, {"0", ticked}, {"-2", grey}, {"x", ticked}, {"4", ticked}})
                                                << false << QStringLiteral("((IDkat=4))");
    QTest::newRow("qualified for the employer search") << 2 << items({{"P", ticked}, {"4", ticked}}) << true
                                                       << QStringLiteral("((IDkat=4)) AND (((TOsnovniPod.PravnaOseba) AND "
                                                                         "(TOsnovniPod.Podjetje=\"True\")))");
}

void TestCategoryFilter::expression()
{
    QFETCH(int, kind);
    QFETCH(States, states);
    QFETCH(bool, qualified);
    QFETCH(QString, expected);
    QCOMPARE(BuildCategoryFilter(kind, states, qualified), expected);
}

void TestCategoryFilter::expressionSelectsPersons_data()
{
    addDialectColumn();
    QTest::addColumn<int>("search");
    QTest::addColumn<int>("kind");
    QTest::addColumn<States>("states");
    QTest::addColumn<QString>("expected");

    // 1 Ana (categories 1 and 2), 2 Bojan (2 and 3), 3 Čebelica (1, a company), 4 Cvetka
    // (none), 5 Alfa (none, a company); by full name: 5, 1, 2, 4, 3.
    struct Case { const char *name; int search; int kind; States states; const char *expected; };
    const Case cases[] = {
        {"nothing chosen: everyone", 0, 0, {}, "5,1,2,4,3"},
        {"ticked: each member once", 0, 0, items({{"1", ticked}, {"2", ticked}}), "1,2,3"},
        {"grey: no category listed, a member of another listed once", 0, 0, items({{"1", grey}}), "5,1,2,4"},
        {"ticked and grey: one membership at a time", 0, 0, items({{"2", ticked}, {"3", grey}}), "1,2"},
        {"natural persons", 0, 1, {}, "1,2,4"},
        {"companies of a category", 0, 2, items({{"P", ticked}, {"1", ticked}}), "3"},
        {"no companies", 0, 0, items({{"P", grey}}), "1,2,4"},
        {"employer search, qualified", 5, 1, items({{"P", grey}, {"2", ticked}}), "2,1"},
    };
    for (const SqlDialect dialect : allDialects())
        for (const Case &c : cases)
            newDialectRow(QString::fromUtf8(c.name), dialect) << c.search << c.kind << c.states << QString::fromUtf8(c.expected);
}

void TestCategoryFilter::expressionSelectsPersons()
{
    VELDRA_FETCH_TEST_DATABASE(testDatabase);
    QFETCH(int, search);
    QFETCH(int, kind);
    QFETCH(States, states);
    QFETCH(QString, expected);
    const auto database = testDatabase.connect();
    insertPersonsFixture(*database);
    const SearchDefinition definition = BuiltInSearches().at(search);
    QSqlQuery query = database->run(WithFilter(definition.SQL, BuildCategoryFilter(kind, states, search == 5)));
    QStringList ids;
    while (query.next())
        ids << query.value(query.record().indexOf(QStringLiteral("ID"))).toString();
    QCOMPARE(ids.join(QLatin1Char(',')), expected);
}

QTEST_GUILESS_MAIN(TestCategoryFilter)
#include "tst_CategoryFilter.moc"
