#include "RowOrder.h"

#include "TextCollation.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>
#include <future>
#include <numeric>

namespace {

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

const QString &textOf(const QVariant &value)
{
    return *static_cast<const QString *>(value.constData());
}

// As SQLite orders values of different kinds: null, numbers, texts (dates among them:
// the engine keeps them as text), the rest.
int kindRank(const QVariant &value)
{
    if (value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::QDateTime:
        return 2;
    case QMetaType::QByteArray:
        return 3;
    default:
        return 1;
    }
}

template<typename T> int compareOrdered(const T &a, const T &b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareValues(const QVariant &a, const QVariant &b)
{
    const int rankA = kindRank(a), rankB = kindRank(b);
    if (rankA != rankB)
        return rankA < rankB ? -1 : 1;
    switch (rankA) {
    case 0:
        return 0;
    case 1:
        if (a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double)
            return compareOrdered(a.toDouble(), b.toDouble());
        return compareOrdered(a.toLongLong(), b.toLongLong());
    case 2:
        if (isText(a) && isText(b))
            return textOf(a) == textOf(b) ? 0 : TextCollation::compare(textOf(a), textOf(b));
        if (a.typeId() == QMetaType::QDateTime && b.typeId() == QMetaType::QDateTime)
            return compareOrdered(a.toDateTime(), b.toDateTime());
        return TextCollation::compare(a.toString(), b.toString());
    default:
        return a.toByteArray().compare(b.toByteArray());
    }
}

// Long lists are put in order in two halves at once, on a machine's second core.
constexpr size_t HalvedFrom = 65536;

template<typename Iterator, typename Less> void sortHalves(Iterator first, Iterator last, Less less)
{
    if (size_t(last - first) < HalvedFrom) {
        std::sort(first, last, less);
        return;
    }
    const Iterator middle = first + (last - first) / 2;
    std::future<void> other = std::async(std::launch::async, [=] { std::sort(first, middle, less); });
    std::sort(middle, last, less);
    other.get();
    std::inplace_merge(first, middle, last, less);
}

int rowCount(const std::vector<QVariant> &values, int stride)
{
    return stride > 0 ? int(values.size()) / stride : 0;
}

// A list's rows as the terms compare them; rows that compare equal keep their order.
struct Rows
{
    const std::vector<QVariant> &values;
    int stride;
    const QList<std::pair<int, bool>> &terms;

    const QVariant &value(int row, int column) const { return values[size_t(row) * size_t(stride) + size_t(column)]; }
    int compare(int a, int b) const
    {
        for (const auto &[column, descending] : terms) {
            const int result = compareValues(value(a, column), value(b, column));
            if (result != 0)
                return descending ? -result : result;
        }
        return 0;
    }
    bool before(int a, int b) const
    {
        const int result = compare(a, b);
        return result != 0 ? result < 0 : a < b;
    }
    // Equal prints for rows whose terms differ are as likely as for two random 64-bit numbers.
    quint64 print(int row) const
    {
        size_t seed = 0;
        for (const auto &term : terms) {
            const QVariant &v = value(row, term.first);
            seed = qHashMulti(seed, v.isNull() ? -1 : v.typeId());
            if (v.isNull())
                continue;
            switch (v.typeId()) {
            case QMetaType::QString:
                seed = qHash(textOf(v), seed);
                break;
            case QMetaType::QDateTime:
                seed = qHash(v.toDateTime().toMSecsSinceEpoch(), seed);
                break;
            case QMetaType::Double:
                seed = qHash(v.toDouble(), seed);
                break;
            case QMetaType::QByteArray:
                seed = qHash(v.toByteArray(), seed);
                break;
            default:
                seed = qHash(v.toLongLong(), seed);
            }
        }
        return seed;
    }
};

// How far past a difference the two reads are searched for rows that match again.
constexpr int LookAhead = 8;

}

namespace RowOrder {

std::vector<int> order(const std::vector<QVariant> &values, int stride, const QList<std::pair<int, bool>> &terms)
{
    const int rows = rowCount(values, stride);
    std::vector<int> ordered(static_cast<size_t>(rows));
    std::iota(ordered.begin(), ordered.end(), 0);
    if (terms.isEmpty() || rows < 2)
        return ordered;
    const Rows list{values, stride, terms};
    const auto value = [&list](int row, int column) -> const QVariant & { return list.value(row, column); };
    const auto compareRows = [&list](int a, int b) { return list.compare(a, b); };
    const int first = terms.front().first;
    bool texts = !terms.front().second;
    for (int row = 0; row < rows && texts; ++row)
        texts = value(row, first).isNull() || isText(value(row, first));
    if (!texts) {
        std::stable_sort(ordered.begin(), ordered.end(), [&](int a, int b) { return compareRows(a, b) < 0; });
        return ordered;
    }

    // Texts in ascending order, the common case: sorted by their first eight primary
    // weights packed into one number, then each run of equal numbers by the rest of the
    // weights, and only where those are equal too by the full comparison.
    std::vector<quint16> weights;
    size_t length = 0;
    for (int row = 0; row < rows; ++row)
        length += value(row, first).isNull() ? 0 : size_t(textOf(value(row, first)).size());
    weights.reserve(length);
    std::vector<size_t> starts(static_cast<size_t>(rows) + 1);
    struct Keyed
    {
        unsigned __int128 prefix;
        int row;
        bool operator<(const Keyed &other) const { return prefix != other.prefix ? prefix < other.prefix : row < other.row; }
    };
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        const size_t start = weights.size();
        starts[size_t(row)] = start;
        if (!value(row, first).isNull())
            TextCollation::appendPrimaryWeights(textOf(value(row, first)), weights);
        unsigned __int128 prefix = 0;
        for (size_t i = 0; i < 8 && start + i < weights.size(); ++i)
            prefix |= static_cast<unsigned __int128>(weights[start + i]) << (112 - 16 * i);
        keyed.push_back({prefix, row});
    }
    starts[size_t(rows)] = weights.size();
    sortHalves(keyed.begin(), keyed.end(), std::less<Keyed>());
    const auto restBefore = [&](int a, int b) {
        const quint16 *pa = weights.data() + std::min(starts[size_t(a)] + 8, starts[size_t(a) + 1]);
        const quint16 *endA = weights.data() + starts[size_t(a) + 1];
        const quint16 *pb = weights.data() + std::min(starts[size_t(b)] + 8, starts[size_t(b) + 1]);
        const quint16 *endB = weights.data() + starts[size_t(b) + 1];
        for (; pa != endA && pb != endB; ++pa, ++pb)
            if (*pa != *pb)
                return *pa < *pb ? -1 : 1;
        return pa == endA ? (pb == endB ? 0 : -1) : 1;
    };
    // Lists hold the same text many times: the rows of equal weights are put in order by
    // the full comparison only where their texts (or later terms) tell them apart.
    const auto sameText = [&](int a, int b) {
        const QVariant &textA = value(a, first), &textB = value(b, first);
        return textA.isNull() ? textB.isNull() : !textB.isNull() && textOf(textA) == textOf(textB);
    };
    const auto sortByComparison = [&](auto from, auto to) {
        if (terms.size() == 1 && std::all_of(from + 1, to, [&](const Keyed &k) { return sameText(k.row, from->row); }))
            return;
        std::sort(from, to, [&](const Keyed &a, const Keyed &b) {
            const int result = compareRows(a.row, b.row);
            return result != 0 ? result < 0 : a.row < b.row;
        });
    };
    // A run of equal beginnings: by the rest of the weights, then where those are equal too
    // by the full comparison.
    const auto sortRun = [&](auto from, auto to) {
        std::sort(from, to, [&](const Keyed &a, const Keyed &b) {
            const int result = restBefore(a.row, b.row);
            return result != 0 ? result < 0 : a.row < b.row;
        });
        for (auto equal = from; equal != to;) {
            auto equalEnd = equal + 1;
            while (equalEnd != to && restBefore(equal->row, equalEnd->row) == 0)
                ++equalEnd;
            if (equalEnd - equal > 1)
                sortByComparison(equal, equalEnd);
            equal = equalEnd;
        }
    };
    const auto sortRuns = [&](auto from, auto to) {
        for (auto run = from; run != to;) {
            auto end = run + 1;
            while (end != to && end->prefix == run->prefix)
                ++end;
            if (end - run > 1)
                sortRun(run, end);
            run = end;
        }
    };
    if (keyed.size() < HalvedFrom) {
        sortRuns(keyed.begin(), keyed.end());
    } else {
        // In two halves at once, split between runs.
        auto split = keyed.begin() + ptrdiff_t(keyed.size() / 2);
        while (split != keyed.end() && split->prefix == (split - 1)->prefix)
            ++split;
        std::future<void> other = std::async(std::launch::async, [&] { sortRuns(keyed.begin(), split); });
        sortRuns(split, keyed.end());
        other.get();
    }
    for (int i = 0; i < rows; ++i)
        ordered[size_t(i)] = keyed[size_t(i)].row;
    return ordered;
}

std::vector<int> Incremental::order(const std::vector<QVariant> &values, int stride, const QList<std::pair<int, bool>> &terms)
{
    const int rows = rowCount(values, stride);
    const Rows list{values, stride, terms};
    std::vector<quint64> prints(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        prints[size_t(row)] = list.print(row);

    // The rows read again, in the order read, are matched with those of the last read: a
    // row whose print is the same keeps its place relative to the others matched.
    std::vector<int> atPlace(m_terms == terms ? m_places.size() : 0, -1);
    std::vector<int> changed;
    size_t row = 0;
    if (!atPlace.empty()) {
        const size_t before = m_prints.size();
        size_t last = 0;
        while (row < size_t(rows) && last < before) {
            if (prints[row] == m_prints[last]) {
                atPlace[size_t(m_places[last])] = int(row++);
                ++last;
                continue;
            }
            // Rows removed, rows added, or this row changed.
            int step = 1;
            for (; step <= LookAhead; ++step) {
                if (last + size_t(step) < before && prints[row] == m_prints[last + size_t(step)]) {
                    last += size_t(step);
                    break;
                }
                if (row + size_t(step) < size_t(rows) && prints[row + size_t(step)] == m_prints[last]) {
                    for (int added = 0; added < step; ++added)
                        changed.push_back(int(row++));
                    break;
                }
            }
            if (step > LookAhead) {
                changed.push_back(int(row++));
                ++last;
            }
        }
        for (; row < size_t(rows); ++row)
            changed.push_back(int(row));
    }

    std::vector<int> ordered;
    // Sorting many rows among the rest would compare more than sorting them all.
    if (atPlace.empty() || changed.size() > size_t(rows) / 16) {
        ordered = RowOrder::order(values, stride, terms);
    } else {
        std::vector<QVariant> changedValues;
        changedValues.reserve(changed.size() * size_t(stride));
        for (const int r : changed)
            changedValues.insert(changedValues.end(), values.begin() + ptrdiff_t(r) * stride, values.begin() + ptrdiff_t(r + 1) * stride);
        std::vector<int> changedInOrder = RowOrder::order(changedValues, stride, terms);
        for (int &r : changedInOrder)
            r = changed[size_t(r)];
        ordered.reserve(size_t(rows));
        auto kept = std::remove(atPlace.begin(), atPlace.end(), -1);
        auto from = atPlace.begin();
        for (const int r : changedInOrder) {
            const auto at = std::lower_bound(from, kept, r, [&list](int a, int b) { return list.before(a, b); });
            ordered.insert(ordered.end(), from, at);
            ordered.push_back(r);
            from = at;
        }
        ordered.insert(ordered.end(), from, kept);
    }

    m_terms = terms;
    m_prints = std::move(prints);
    m_places.resize(size_t(rows));
    for (int place = 0; place < rows; ++place)
        m_places[size_t(ordered[size_t(place)])] = place;
    return ordered;
}

void Incremental::forget()
{
    m_terms.clear();
    m_prints = {};
    m_places = {};
}

}
