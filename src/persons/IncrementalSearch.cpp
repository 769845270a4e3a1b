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
    // The texts are read where they lie, without copies: the rows are in their list's
    // order, the texts in memory in the order they were read, so each is a fresh fetch,
    // asked for a few rows ahead.
    constexpr int ahead = 8;
    const auto textAt = [&dataset, f](int row, QString &converted) -> QStringView {
        const QVariant &value = dataset.rawCell(row, f);
        if (value.typeId() == QMetaType::QString)
            return *static_cast<const QString *>(value.constData());
        converted = value.toString();
        return converted;
    };
    m_starts.reserve(size_t(rows) + 1);
    m_starts.push_back(0);
    QString converted;
    for (int row = 0; row < rows; ++row) {
        if (row + ahead < rows) {
            const QVariant &later = dataset.rawCell(row + ahead, f);
            if (later.typeId() == QMetaType::QString)
                __builtin_prefetch(static_cast<const QString *>(later.constData())->constData());
        }
        const QStringView value = textAt(row, converted);
        const qsizetype at = m_texts.size();
        if (m_texts.capacity() < at + value.size())
            m_texts.reserve(qMax<qsizetype>(2 * m_texts.capacity(), at + value.size() + 16 * qsizetype(rows - row)));
        m_texts.resize(at + value.size());
        QChar *out = m_texts.data() + at;
        // Folded straight into the block; a text with surrogates folds as a whole.
        if (std::none_of(value.cbegin(), value.cend(), [](QChar c) { return c.isSurrogate(); })) {
            std::transform(value.cbegin(), value.cend(), out, [](QChar c) {
                const char16_t u = c.unicode();
                return u < 0x80 ? QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u) : c.toCaseFolded();
            });
        } else {
            const QString folded = value.toString().toCaseFolded();
            m_texts.resize(at + folded.size());
            std::copy(folded.cbegin(), folded.cend(), m_texts.data() + at);
        }
        m_starts.push_back(m_texts.size());
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
