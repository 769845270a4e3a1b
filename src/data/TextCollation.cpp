#include "TextCollation.h"

#include <array>
#include <cstring>

namespace TextCollation {

namespace {

struct Weights
{
    quint32 primary;
    quint16 secondary; // accent
    quint8 tertiary;   // case
};

constexpr char32_t TableSize = 0x250; // Latin letters up to Latin Extended-B

quint32 letterWeight(char32_t lower, int step = 0)
{
    return 0x2000 + quint32(lower - U'a') * 4 + quint32(step);
}

Weights computeWeights(char32_t cp)
{
    if (cp >= U'0' && cp <= U'9')
        return {0x1000 + quint32(cp - U'0'), 0, 0};
    if (cp >= U'a' && cp <= U'z')
        return {letterWeight(cp), 0, 0};
    if (cp >= U'A' && cp <= U'Z')
        return {letterWeight(cp - U'A' + U'a'), 0, 1};
    if (cp < 0x80)
        return {quint32(cp), 0, 0};
    // Letters of the Slovenian alphabet (and ć, đ of its neighbours) have places of their own.
    switch (cp) {
    case U'č': return {letterWeight(U'c', 1), 0, 0};
    case U'Č': return {letterWeight(U'c', 1), 0, 1};
    case U'ć': return {letterWeight(U'c', 2), 0, 0};
    case U'Ć': return {letterWeight(U'c', 2), 0, 1};
    case U'đ': return {letterWeight(U'd', 1), 0, 0};
    case U'Đ': return {letterWeight(U'd', 1), 0, 1};
    case U'š': return {letterWeight(U's', 1), 0, 0};
    case U'Š': return {letterWeight(U's', 1), 0, 1};
    case U'ž': return {letterWeight(U'z', 1), 0, 0};
    case U'Ž': return {letterWeight(U'z', 1), 0, 1};
    default: break;
    }
    const QString decomposed = QChar(cp).decomposition();
    if (!decomposed.isEmpty() && decomposed[0].unicode() < 0x80 && decomposed[0].isLetter()) {
        const Weights base = computeWeights(decomposed[0].unicode());
        return {base.primary, quint16(decomposed.size() > 1 ? decomposed[1].unicode() : 1), base.tertiary};
    }
    const QChar c(cp);
    if (c.isLetter() && c.toLower() != c)
        return {0x100000 + quint32(c.toLower().unicode()), 0, 1};
    return {0x100000 + quint32(cp), 0, 0};
}

// Filled once when the program loads, so that reading it needs no guard.
const std::array<Weights, TableSize> latinWeights = [] {
    std::array<Weights, TableSize> t{};
    for (char32_t cp = 0; cp < TableSize; ++cp)
        t[cp] = computeWeights(cp);
    return t;
}();

Weights weights(char32_t cp)
{
    if (cp < TableSize)
        return latinWeights[cp];
    return {0x100000 + cp, 0, 0};
}

// Weights that need more than 16 bits are cut to the greatest: equal weights only send
// the texts on to compare().
quint16 cutPrimary(char32_t cp)
{
    return quint16(qMin<quint32>(weights(cp).primary, 0xFFFF));
}

// Reads code points from UTF-8 or UTF-16 text.
class Utf8Reader
{
public:
    Utf8Reader(const char *text, int length)
        : m_p(reinterpret_cast<const unsigned char *>(text))
        , m_end(m_p + length)
    {
    }
    bool atEnd() const { return m_p >= m_end; }
    int remaining() const { return int(m_end - m_p); }
    char32_t next()
    {
        const unsigned char c = *m_p++;
        if (c < 0x80)
            return c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = c & (0x3F >> extra);
        while (extra-- > 0 && m_p < m_end)
            cp = (cp << 6) | (*m_p++ & 0x3F);
        return cp;
    }

private:
    const unsigned char *m_p;
    const unsigned char *m_end;
};

class Utf16Reader
{
public:
    explicit Utf16Reader(QStringView text)
        : m_text(text)
    {
    }
    bool atEnd() const { return m_i >= m_text.size(); }
    char32_t next()
    {
        const QChar c = m_text[m_i++];
        if (c.isHighSurrogate() && m_i < m_text.size() && m_text[m_i].isLowSurrogate())
            return QChar::surrogateToUcs4(c, m_text[m_i++]);
        return c.unicode();
    }

private:
    QStringView m_text;
    qsizetype m_i = 0;
};

template<typename Reader, typename Key> int compareBy(Reader a, Reader b, Key key)
{
    while (!a.atEnd() && !b.atEnd()) {
        const auto ka = key(a.next());
        const auto kb = key(b.next());
        if (ka != kb)
            return ka < kb ? -1 : 1;
    }
    return a.atEnd() == b.atEnd() ? 0 : (a.atEnd() ? -1 : 1);
}

template<typename Reader> int compareReaders(const Reader &a, const Reader &b)
{
    if (int r = compareBy(a, b, [](char32_t cp) { return weights(cp).primary; }))
        return r;
    if (int r = compareBy(a, b, [](char32_t cp) { return weights(cp).secondary; }))
        return r;
    if (int r = compareBy(a, b, [](char32_t cp) { return weights(cp).tertiary; }))
        return r;
    return compareBy(a, b, [](char32_t cp) { return cp; });
}

// Sorting a list compares the same texts many times: the first pass runs over the
// bytes, skipping equal ones and weighing plain ASCII from a table, and decodes only
// where the texts differ outside ASCII. Most comparisons end in it.
int primaryUtf8(const unsigned char *a, int lengthA, const unsigned char *b, int lengthB)
{
    const auto &table = latinWeights;
    int i = 0, j = 0;
    while (i < lengthA && j < lengthB) {
        const unsigned char ca = a[i], cb = b[j];
        if (ca < 0x80 && cb < 0x80) {
            if (ca != cb) {
                const quint32 wa = table[ca].primary, wb = table[cb].primary;
                if (wa != wb)
                    return wa < wb ? -1 : 1;
            }
            ++i;
            ++j;
            continue;
        }
        Utf8Reader ra(reinterpret_cast<const char *>(a + i), lengthA - i);
        Utf8Reader rb(reinterpret_cast<const char *>(b + j), lengthB - j);
        const char32_t pa = ra.next(), pb = rb.next();
        const quint32 wa = weights(pa).primary, wb = weights(pb).primary;
        if (wa != wb)
            return wa < wb ? -1 : 1;
        i = lengthA - ra.remaining();
        j = lengthB - rb.remaining();
    }
    return (i < lengthA) - (j < lengthB);
}

bool likeFolded(const QString &pattern, const QString &text, QChar escape)
{
    // Iterative wildcard match with a single backtrack point for the last %.
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const QChar c = pattern[p];
            if (!escape.isNull() && c == escape && p + 1 < pattern.size()) {
                if (pattern[p + 1] == text[t]) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (c == QLatin1Char('%')) {
                starP = p++;
                starT = t;
                continue;
            } else if (c == QLatin1Char('_') || c == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

}

int compare(QStringView a, QStringView b)
{
    return compareReaders(Utf16Reader(a), Utf16Reader(b));
}

int compareUtf8(const char *a, int lengthA, const char *b, int lengthB)
{
    // Lists hold many equal texts (the same name twice, the same place).
    if (lengthA == lengthB && std::memcmp(a, b, size_t(lengthA)) == 0)
        return 0;
    if (int r = primaryUtf8(reinterpret_cast<const unsigned char *>(a), lengthA, reinterpret_cast<const unsigned char *>(b), lengthB))
        return r;
    return compareReaders(Utf8Reader(a, lengthA), Utf8Reader(b, lengthB));
}

void appendPrimaryWeights(QStringView text, std::vector<quint16> &out)
{
    for (Utf16Reader reader(text); !reader.atEnd();)
        out.push_back(cutPrimary(reader.next()));
}

int comparePrimary(QStringView a, QStringView b)
{
    return compareBy(Utf16Reader(a), Utf16Reader(b), cutPrimary);
}

int comparePrimaryPrefix(QStringView text, QStringView prefix)
{
    Utf16Reader t(text), p(prefix);
    while (!p.atEnd()) {
        if (t.atEnd())
            return -1;
        const quint16 wt = cutPrimary(t.next()), wp = cutPrimary(p.next());
        if (wt != wp)
            return wt < wp ? -1 : 1;
    }
    return 0;
}

bool like(QStringView pattern, QStringView text, QChar escape)
{
    return likeFolded(pattern.toString().toCaseFolded(), text.toString().toCaseFolded(), escape.toCaseFolded());
}

}
