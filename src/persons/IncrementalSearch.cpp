#include "IncrementalSearch.h"

#include "Dataset.h"
#include "TextCollation.h"

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
    m_ordered = true;
    for (size_t row = 1; row < size_t(rows) && m_ordered; ++row)
        m_ordered = TextCollation::comparePrimary(rowText(row - 1), rowText(row)) <= 0;
}

QStringView IncrementalSearch::rowText(size_t row) const
{
    return QStringView(m_texts.constData() + m_starts[row], m_starts[row + 1] - m_starts[row]);
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
    const QStringView text = rowText(size_t(row));
    if (m_contains)
        return text.contains(m_wanted);
    // Both sides are folded already: the beginning compares as plain memory.
    return text.size() >= m_wanted.size() && std::memcmp(text.data(), m_wanted.constData(), size_t(m_wanted.size()) * sizeof(QChar)) == 0;
}

std::pair<int, int> IncrementalSearch::candidates() const
{
    const int rows = m_starts.empty() ? 0 : int(m_starts.size()) - 1;
    if (m_everything || !m_hasField || m_contains || !m_ordered)
        return {0, rows};
    // Rows whose weights begin with the typed text's; accents and case weigh only where
    // the weights are equal, so the range still holds rows that do not match (Müller
    // between Mulder and Mullins).
    const auto side = [this](int row) { return TextCollation::comparePrimaryPrefix(rowText(size_t(row)), m_wanted); };
    int first = 0, last = rows;
    while (first < last) {
        const int middle = first + (last - first) / 2;
        if (side(middle) < 0)
            first = middle + 1;
        else
            last = middle;
    }
    int end = rows;
    for (int from = first; from < end;) {
        const int middle = from + (end - from) / 2;
        if (side(middle) <= 0)
            from = middle + 1;
        else
            end = middle;
    }
    return {first, end};
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
