#pragma once

#include <QList>
#include <QVariant>

#include <utility>
#include <vector>

// Puts rows read into the order of a statement's ORDER BY terms, as SQLite orders them
// with the program's collation: empty values first when ascending, numbers before texts,
// texts as a Slovenian reader expects. Sorting here costs less than the engine's sorter.
namespace RowOrder {

// Rows are `stride` values one after another; each term is a value's position in a row
// and whether it is descending. Returns the rows' positions in order; rows that compare
// equal keep their order.
std::vector<int> order(const std::vector<QVariant> &values, int stride, const QList<std::pair<int, bool>> &terms);

// The same order for a list that is read again and again, such as the list of all persons
// each time another workstation has changed it: between two reads few rows change, so
// only the new and changed rows are sorted, then placed among the rest, whose order is
// known from the last read.
class Incremental
{
public:
    std::vector<int> order(const std::vector<QVariant> &values, int stride, const QList<std::pair<int, bool>> &terms);
    void forget();

private:
    QList<std::pair<int, bool>> m_terms;
    // Of the last read, each row's in the order read: what it is ordered by, hashed, and its place.
    std::vector<quint64> m_prints;
    std::vector<int> m_places;
};

}
