#pragma once

#include <QString>

#include <utility>
#include <vector>

class Dataset;

// The browse list's search as the user types: rows whose matched field begins with the
// typed text, without regard to case; "*" alone for every row; "*abc" for rows that
// contain "abc". A null value reads as empty text. Each row's text is folded once when
// the rows are read, so that a keystroke only compares; the texts lie one after another
// in one block, so that a keystroke reads memory in order. Where the rows are in the
// order of the field (the list is ordered by what it searches), the rows a beginning
// can match lie together, and are found by halving.
class IncrementalSearch
{
public:
    // Takes the rows of the dataset's field (none: every row passes).
    void setRows(const Dataset &dataset, const QString &field);
    // True when the new text accepts no row the one before it did not (a letter typed
    // after the others): the rows shown need only be tried again.
    bool setText(const QString &typed);
    const QString &text() const { return m_typed; }

    bool accepts(int row) const;
    // The rows [first, last) outside which no row is accepted.
    std::pair<int, int> candidates() const;

    // The rule itself, for one value.
    static bool matches(const QString &value, const QString &typed);

private:
    QStringView rowText(size_t row) const;

    QString m_texts;
    std::vector<qsizetype> m_starts; // row i is m_texts from m_starts[i] to m_starts[i + 1]
    bool m_hasField = false;
    // The folded texts are in the order of their collation weights. Folding keeps a
    // letter's weight but for a few signs (the Kelvin sign folds to k), so it is checked.
    bool m_ordered = false;
    QString m_typed;
    QString m_wanted; // the folded text to find
    bool m_everything = true;
    bool m_contains = false;
};
