#include "IncrementalSearch.h"

#include "Dataset.h"

void IncrementalSearch::setRows(const Dataset &dataset, const QString &field)
{
    m_folded.clear();
    const int f = dataset.fieldIndex(field);
    m_hasField = f >= 0;
    if (!m_hasField)
        return;
    m_folded.reserve(size_t(dataset.rawRowCount()));
    for (int row = 0; row < dataset.rawRowCount(); ++row)
        m_folded.push_back(dataset.rawValue(row, f).toString().toCaseFolded());
}

void IncrementalSearch::setText(const QString &typed)
{
    m_typed = typed;
    m_everything = typed.trimmed().isEmpty() || typed == QLatin1String("*");
    m_contains = typed.startsWith(QLatin1Char('*'));
    m_wanted = (m_contains ? typed.mid(1) : typed).toCaseFolded();
}

bool IncrementalSearch::accepts(int row) const
{
    if (m_everything || !m_hasField)
        return true;
    if (row < 0 || row >= int(m_folded.size()))
        return false;
    const QString &value = m_folded[size_t(row)];
    return m_contains ? value.contains(m_wanted) : value.startsWith(m_wanted);
}

bool IncrementalSearch::matches(const QString &value, const QString &typed)
{
    IncrementalSearch search;
    search.m_hasField = true;
    search.m_folded = {value.toCaseFolded()};
    search.setText(typed);
    return search.accepts(0);
}
