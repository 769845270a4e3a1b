#include "IncrementalSearch.h"

#include "Dataset.h"

#include <algorithm>
#include <cstring>

void IncrementalSearch::setRows(const Dataset &dataset, const QString &field)
{
    m_texts.clear();
    m_starts.clear();
    const int f = dataset.fieldIndex(field);
    m_hasField = f >= 0;
    if (!m_hasField)
        return;
    const int rows = dataset.rawRowCount();
    std::vector<QString> values;
    values.reserve(size_t(rows));
    qsizetype length = 0;
    for (int row = 0; row < rows; ++row) {
        values.push_back(dataset.rawValue(row, f).toString());
        length += values.back().size();
    }
    // Folded into the block straight away; a text with surrogates folds as a whole.
    m_texts.resize(length);
    QChar *out = m_texts.data();
    m_starts.reserve(size_t(rows) + 1);
    m_starts.push_back(0);
    for (const QString &value : values) {
        if (std::none_of(value.cbegin(), value.cend(), [](QChar c) { return c.isSurrogate(); })) {
            out = std::transform(value.cbegin(), value.cend(), out, [](QChar c) { return c.toCaseFolded(); });
        } else {
            const QString folded = value.toCaseFolded();
            out = std::copy(folded.cbegin(), folded.cend(), out);
        }
        m_starts.push_back(out - m_texts.constData());
    }
}

bool IncrementalSearch::setText(const QString &typed)
{
    const bool wasEverything = m_everything;
    const bool wasContains = m_contains;
    const QString wanted = m_wanted;
    m_typed = typed;
    m_everything = typed.trimmed().isEmpty() || typed == QLatin1String("*");
    m_contains = typed.startsWith(QLatin1Char('*'));
    m_wanted = (m_contains ? typed.mid(1) : typed).toCaseFolded();
    if (m_everything)
        return wasEverything;
    return wasEverything || (m_contains == wasContains && (m_contains ? m_wanted.contains(wanted) : m_wanted.startsWith(wanted)));
}

bool IncrementalSearch::accepts(int row) const
{
    if (m_everything || !m_hasField)
        return true;
    if (row < 0 || size_t(row) + 1 >= m_starts.size())
        return false;
    const QChar *text = m_texts.constData() + m_starts[size_t(row)];
    const qsizetype length = m_starts[size_t(row) + 1] - m_starts[size_t(row)];
    if (m_contains)
        return QStringView(text, length).contains(m_wanted);
    // Both sides are folded already: the beginning compares as plain memory.
    return length >= m_wanted.size() && std::memcmp(text, m_wanted.constData(), size_t(m_wanted.size()) * sizeof(QChar)) == 0;
}

bool IncrementalSearch::matches(const QString &value, const QString &typed)
{
    IncrementalSearch search;
    search.m_hasField = true;
    search.m_texts = value.toCaseFolded();
    search.m_starts = {0, search.m_texts.size()};
    search.setText(typed);
    return search.accepts(0);
}
