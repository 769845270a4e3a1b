#include "VCardFormat.h"

#include "TextCodec.h"

#include <QHash>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>
#include <cstring>

namespace {

// Names and parameters in a vCard are ASCII.
char upperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 32) : c;
}

// The lengths first, as most names differ in length.
bool sameText(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i]))
            return false;
    return true;
}

qsizetype indexOfChar(QByteArrayView text, char c, qsizetype from = 0)
{
    if (from >= text.size())
        return -1;
    const void *found = std::memchr(text.data() + from, c, size_t(text.size() - from));
    return found ? static_cast<const char *>(found) - text.data() : -1;
}

bool containsWord(QByteArrayView text, QByteArrayView word)
{
    const char first = upperAscii(word.front());
    for (qsizetype i = 0; i + word.size() <= text.size(); ++i)
        if (upperAscii(text[i]) == first && sameText(text.sliced(i, word.size()), word))
            return true;
    return false;
}

// ---------------------------------------------------------------- lines

qsizetype valueColon(QByteArrayView line);

// Splits a file into logical lines: folded continuations and quoted-printable soft
// breaks are joined, CRLF and LF both end a line.
class LineReader
{
public:
    explicit LineReader(QByteArrayView text) : m_text(text) {}

    bool atEnd() const { return m_pos >= m_text.size(); }
    // The line stays valid until the next call. 2.1 keeps the blank of a fold, later
    // versions drop it.
    QByteArrayView next(bool keepFoldBlank);
    int lineNumber() const { return m_firstLine; }

private:
    QByteArrayView physicalLine();
    bool nextIsFolded() const;
    static bool endsInSoftBreak(QByteArrayView line);

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_linesRead = 0;
    int m_firstLine = 0;
    QByteArray m_joined;
};

QByteArrayView LineReader::physicalLine()
{
    qsizetype end = indexOfChar(m_text, '\n', m_pos);
    if (end < 0)
        end = m_text.size();
    const qsizetype start = m_pos;
    m_pos = end + 1;
    ++m_linesRead;
    if (end > start && m_text[end - 1] == '\r')
        --end;
    return m_text.sliced(start, end - start);
}

bool LineReader::nextIsFolded() const
{
    return !atEnd() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t');
}

// A soft break is an "=" at the end of a quoted-printable value, wherever it falls.
bool LineReader::endsInSoftBreak(QByteArrayView line)
{
    if (!line.endsWith('='))
        return false;
    const qsizetype colon = valueColon(line);
    return colon > 0 && containsWord(line.first(colon), "QUOTED-PRINTABLE");
}

QByteArrayView LineReader::next(bool keepFoldBlank)
{
    m_firstLine = m_linesRead + 1;
    QByteArrayView line = physicalLine();
    bool joining = false;
    for (;;) {
        const bool softBreak = !atEnd() && endsInSoftBreak(line);
        if (!softBreak && !nextIsFolded())
            return line;
        if (!joining) {
            m_joined.clear();
            m_joined.append(line.data(), line.size());
            joining = true;
        }
        if (softBreak)
            m_joined.chop(1);
        else if (!keepFoldBlank)
            ++m_pos;
        const QByteArrayView continuation = physicalLine();
        m_joined.append(continuation.data(), continuation.size());
        line = m_joined;
    }
}

// ---------------------------------------------------------------- properties

struct Parameter
{
    QByteArrayView Name; // empty for 2.1's bare "TEL;CELL"
    QByteArrayView Value;
};

struct Property
{
    QByteArrayView Group;
    QByteArrayView Name;
    QVarLengthArray<Parameter, 8> Parameters;
    QByteArrayView Value;
};

enum class LineFault { None, NoColon, BadName };

// The colon that ends the name and parameters: one inside a quoted parameter value does not.
qsizetype valueColon(QByteArrayView line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    // An unclosed quote: the first colon will do.
    return indexOfChar(line, ':');
}

bool isNameChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
}

bool isName(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (!isNameChar(c))
            return false;
    return true;
}

QByteArrayView unquoted(QByteArrayView value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.sliced(1, value.size() - 2);
    return value;
}

void addParameter(QByteArrayView text, Property &property)
{
    if (text.isEmpty())
        return;
    const qsizetype equals = indexOfChar(text, '=');
    if (equals < 0)
        property.Parameters.append({{}, text});
    else
        property.Parameters.append({text.first(equals).trimmed(), unquoted(text.sliced(equals + 1).trimmed())});
}

LineFault parseProperty(QByteArrayView line, Property &property)
{
    const qsizetype colon = valueColon(line);
    if (colon < 0)
        return LineFault::NoColon;
    property.Value = line.sliced(colon + 1);
    const QByteArrayView head = line.first(colon);

    bool quoted = false;
    qsizetype start = 0;
    bool first = true;
    for (qsizetype i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
            continue;
        }
        if (i < head.size() && (head[i] != ';' || quoted))
            continue;
        const QByteArrayView token = head.sliced(start, i - start);
        start = i + 1;
        if (!first) {
            addParameter(token, property);
            continue;
        }
        first = false;
        const QByteArrayView name = token.trimmed();
        const qsizetype dot = indexOfChar(name, '.');
        property.Group = dot < 0 ? QByteArrayView() : name.first(dot);
        property.Name = dot < 0 ? name : name.sliced(dot + 1);
        if (!isName(property.Name) || (dot >= 0 && !isName(property.Group)))
            return LineFault::BadName;
    }
    return LineFault::None;
}

// What the parameters say about the value.
struct ValueParameters
{
    QByteArrayView Encoding;
    QByteArrayView Charset;
    QByteArrayView ValueType;
    QByteArrayView OmittedYear; // Apple's X-APPLE-OMIT-YEAR
    QVarLengthArray<QByteArrayView, 8> Types;
    bool Pref = false;

    bool isQuotedPrintable() const { return sameText(Encoding, "QUOTED-PRINTABLE"); }
    bool isBinary() const { return sameText(Encoding, "B") || sameText(Encoding, "BASE64"); }
};

bool isEncodingName(QByteArrayView text)
{
    return sameText(text, "QUOTED-PRINTABLE") || sameText(text, "BASE64") || sameText(text, "8BIT")
        || sameText(text, "7BIT");
}

void addTypes(QByteArrayView list, ValueParameters &parameters)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= list.size(); ++i) {
        if (i < list.size() && list[i] != ',')
            continue;
        const QByteArrayView type = unquoted(list.sliced(start, i - start).trimmed());
        if (!type.isEmpty())
            parameters.Types.append(type);
        start = i + 1;
    }
}

ValueParameters interpret(const Property &property)
{
    ValueParameters result;
    for (const Parameter &parameter : property.Parameters) {
        if (parameter.Name.isEmpty()) {
            if (isEncodingName(parameter.Value))
                result.Encoding = parameter.Value;
            else
                addTypes(parameter.Value, result);
        } else if (sameText(parameter.Name, "TYPE")) {
            addTypes(parameter.Value, result);
        } else if (sameText(parameter.Name, "ENCODING")) {
            result.Encoding = parameter.Value;
        } else if (sameText(parameter.Name, "CHARSET")) {
            result.Charset = parameter.Value;
        } else if (sameText(parameter.Name, "VALUE")) {
            result.ValueType = parameter.Value;
        } else if (sameText(parameter.Name, "PREF")) {
            result.Pref = true;
        } else if (sameText(parameter.Name, "X-APPLE-OMIT-YEAR")) {
            result.OmittedYear = parameter.Value;
        }
    }
    return result;
}

// ---------------------------------------------------------------- text

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Soft breaks are already gone (the lines were joined); a broken escape stays as written.
QByteArray decodeQuotedPrintable(QByteArrayView text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *o = out.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                *o++ = char(high * 16 + low);
                i += 2;
                continue;
            }
        }
        *o++ = text[i];
    }
    out.truncate(o - out.data());
    return out;
}

bool isAscii(QByteArrayView bytes)
{
    for (char c : bytes)
        if (uchar(c) >= 0x80)
            return false;
    return true;
}

// Decodes by the value's CHARSET; without one, or when it does not fit, as UTF-8 where
// the bytes are UTF-8 and else as the legacy code page. The last named decoder is kept:
// a file names the same charset on every line.
class TextDecoder
{
public:
    QString decode(QByteArrayView bytes, QByteArrayView charset);

private:
    QByteArray m_charset;
    QStringDecoder m_decoder;
};

QString TextDecoder::decode(QByteArrayView bytes, QByteArrayView charset)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    if (!charset.isEmpty() && !sameText(charset, "UTF-8")) {
        if (!sameText(charset, m_charset)) {
            m_charset = charset.toByteArray();
            m_decoder = QStringDecoder(m_charset.constData());
        }
        if (m_decoder.isValid()) {
            m_decoder.resetState();
            QString text = m_decoder(bytes);
            // The system's converters may substitute silently rather than report.
            if (!m_decoder.hasError() && !text.contains(QChar::ReplacementCharacter))
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? TextCodec::decode(bytes.toByteArray()) : text;
}

// Line breaks become LF; other control characters (binary junk) are dropped.
void cleanControls(QString &text)
{
    bool clean = true;
    for (QChar c : std::as_const(text))
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n') {
            clean = false;
            break;
        }
    if (clean)
        return;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
}

QString unescape(QStringView text, bool v21)
{
    if (text.isEmpty())
        return {};
    qsizetype slash = text.indexOf(u'\\');
    if (slash < 0)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype start = 0;
    for (; slash >= 0 && slash + 1 < text.size(); slash = text.indexOf(u'\\', start)) {
        out.append(text.sliced(start, slash - start));
        const QChar next = text[slash + 1];
        start = slash + 2;
        if (next == u',' || next == u';' || next == u'\\' || next == u':') {
            out += next;
        } else if (!v21 && (next == u'n' || next == u'N')) { // 2.1 has no \n: its line breaks come quoted-printable.
            out += u'\n';
        } else { // not an escape: the backslash stays
            out += u'\\';
            start = slash + 1;
        }
    }
    out.append(text.sliced(start));
    return out;
}

// A whole value without escapes is shared rather than copied.
QString unescape(const QString &text, bool v21)
{
    return text.contains(u'\\') ? unescape(QStringView(text), v21) : text;
}

using Pieces = QVarLengthArray<QStringView, 8>;

// Splits on separators a backslash does not escape; the pieces keep their escapes.
Pieces splitUnescaped(QStringView text, char16_t separator, char16_t otherSeparator = 0)
{
    Pieces pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\') {
            ++i;
        } else if (c == separator || (otherSeparator && c == otherSeparator)) {
            pieces.append(text.sliced(start, i - start));
            start = i + 1;
        }
    }
    pieces.append(text.sliced(start));
    return pieces;
}

QString piece(const Pieces &pieces, qsizetype index, bool v21)
{
    return index < pieces.size() ? unescape(pieces[index], v21).trimmed() : QString();
}

// A component may be a list in 3.0 and 4.0 ("Novak,Horvat"): its values joined by the
// separator, a blank for a name part and ", " for an address part.
QString listPart(const Pieces &pieces, qsizetype index, bool v21, QStringView separator)
{
    if (index >= pieces.size())
        return {};
    if (v21 || !pieces[index].contains(u','))
        return piece(pieces, index, v21);
    QStringList values;
    for (QStringView value : splitUnescaped(pieces[index], u','))
        if (const QString text = unescape(value, v21).trimmed(); !text.isEmpty())
            values.append(text);
    return values.join(separator);
}

// ---------------------------------------------------------------- dates

bool isPossibleDay(int month, int day)
{
    static const int longest[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month >= 1 && month <= 12 && day >= 1 && day <= longest[month - 1];
}

// The digits of a date, its hyphens left out; empty when anything else is in it.
QVarLengthArray<int, 8> dateDigits(QStringView text)
{
    QVarLengthArray<int, 8> digits;
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits.append(c.unicode() - '0');
        else if (c != u'-')
            return {};
    }
    return digits;
}

// 1980-05-06, 19800506, --0506, --05-06; a time after "T" is ignored.
CardDate parseDate(QStringView text)
{
    text = text.trimmed();
    if (const qsizetype t = text.indexOf(u'T'); t >= 0)
        text = text.first(t);
    const bool withoutYear = text.startsWith(u"--");
    const QVarLengthArray<int, 8> d = dateDigits(withoutYear ? text.sliced(2) : text);
    if (d.size() != (withoutYear ? 4 : 8))
        return {};
    const qsizetype m = d.size() - 4;
    CardDate date;
    date.Year = withoutYear ? 0 : d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
    date.Month = d[m] * 10 + d[m + 1];
    date.Day = d[m + 2] * 10 + d[m + 3];
    if (!isPossibleDay(date.Month, date.Day) || (!withoutYear && date.Year == 0))
        return {};
    return date;
}

// ---------------------------------------------------------------- what a property is

enum class Kind {
    Begin, End, Version,
    Name, FormattedName, Organisation, Title, Address, Telephone, Email, Url, Impp, ImScheme,
    Birthday, Note, Categories, CardKind, ShowAs, Label, Extra,
    Binary,   // counted as skipped
    Bookkeeping, // dropped without counting: it says nothing about the person
};

const QHash<QByteArray, Kind> &kindsByName()
{
    static const QHash<QByteArray, Kind> kinds = {
        {"BEGIN", Kind::Begin}, {"END", Kind::End}, {"VERSION", Kind::Version},
        {"N", Kind::Name}, {"FN", Kind::FormattedName}, {"ORG", Kind::Organisation},
        {"TITLE", Kind::Title}, {"ADR", Kind::Address}, {"TEL", Kind::Telephone},
        {"EMAIL", Kind::Email}, {"URL", Kind::Url}, {"IMPP", Kind::Impp},
        {"BDAY", Kind::Birthday}, {"NOTE", Kind::Note}, {"CATEGORIES", Kind::Categories},
        {"KIND", Kind::CardKind}, {"X-ABSHOWAS", Kind::ShowAs}, {"X-ABLABEL", Kind::Label},
        // Worth keeping beside the fields of the card.
        {"NICKNAME", Kind::Extra}, {"ROLE", Kind::Extra}, {"ANNIVERSARY", Kind::Extra},
        {"GENDER", Kind::Extra}, {"LANG", Kind::Extra}, {"TZ", Kind::Extra}, {"GEO", Kind::Extra},
        {"UID", Kind::Extra}, {"RELATED", Kind::Extra}, {"EXPERTISE", Kind::Extra},
        {"HOBBY", Kind::Extra}, {"INTEREST", Kind::Extra}, {"FBURL", Kind::Extra},
        {"CALURI", Kind::Extra}, {"CALADRURI", Kind::Extra},
        // Pictures, sounds and keys, perhaps on a server: never fetched, never kept.
        {"PHOTO", Kind::Binary}, {"LOGO", Kind::Binary}, {"SOUND", Kind::Binary},
        {"KEY", Kind::Binary}, {"AGENT", Kind::Binary}, {"X-MS-CARDPICTURE", Kind::Binary},
        // The writing program's own records; LABEL repeats the address.
        {"PRODID", Kind::Bookkeeping}, {"REV", Kind::Bookkeeping}, {"LABEL", Kind::Bookkeeping},
        {"CLIENTPIDMAP", Kind::Bookkeeping}, {"MAILER", Kind::Bookkeeping},
        {"SORT-STRING", Kind::Bookkeeping}, {"PROFILE", Kind::Bookkeeping},
        {"NAME", Kind::Bookkeeping}, {"CLASS", Kind::Bookkeeping}, {"X-ABUID", Kind::Bookkeeping},
        {"X-ABADR", Kind::Bookkeeping}, {"X-MS-OL-DESIGN", Kind::Bookkeeping},
        {"X-MS-OL-DEFAULT-POSTAL-ADDRESS", Kind::Bookkeeping},
        {"X-EVOLUTION-FILE-AS", Kind::Bookkeeping}, {"X-MOZILLA-HTML", Kind::Bookkeeping},
        {"X-SHARED-PHOTO-DISPLAY-PREF", Kind::Bookkeeping}, {"X-IMAGETYPE", Kind::Bookkeeping},
        {"X-IMAGEHASH", Kind::Bookkeeping}, {"X-WAB-GENDER", Kind::Bookkeeping},
        // Instant messaging before IMPP.
        {"X-JABBER", Kind::ImScheme}, {"X-GOOGLE-TALK", Kind::ImScheme}, {"X-GTALK", Kind::ImScheme},
        {"X-SKYPE", Kind::ImScheme}, {"X-SKYPE-USERNAME", Kind::ImScheme}, {"X-AIM", Kind::ImScheme},
        {"X-ICQ", Kind::ImScheme}, {"X-MSN", Kind::ImScheme}, {"X-YAHOO", Kind::ImScheme},
    };
    return kinds;
}

const char *imScheme(QByteArrayView upperName)
{
    if (upperName == "X-JABBER" || upperName == "X-GOOGLE-TALK" || upperName == "X-GTALK")
        return "xmpp:";
    if (upperName == "X-SKYPE" || upperName == "X-SKYPE-USERNAME")
        return "skype:";
    if (upperName == "X-AIM")
        return "aim:";
    if (upperName == "X-ICQ")
        return "icq:";
    if (upperName == "X-MSN")
        return "msnim:";
    return "ymsgr:";
}

// Unknown X- properties are kept, unknown others skipped.
Kind kindOf(QByteArrayView upperName)
{
    const auto found = kindsByName().constFind(QByteArray::fromRawData(upperName.data(), upperName.size()));
    if (found != kindsByName().cend())
        return *found;
    return upperName.startsWith("X-") ? Kind::Extra : Kind::Binary;
}

// ---------------------------------------------------------------- cards

// The value list of a grouped property, so that the group's X-ABLabel finds it.
struct GroupedValue
{
    QByteArray Group;
    QList<CardValue> ContactCard::*List; // null for an address
    qsizetype Index;
};

struct GroupLabel
{
    QByteArray Group;
    QString Label;
};

bool isEmpty(const ContactCard &card)
{
    const CardName &n = card.Name;
    return n.Family.isEmpty() && n.Given.isEmpty() && n.Additional.isEmpty() && n.Prefix.isEmpty()
        && n.Suffix.isEmpty() && card.FormattedName.isEmpty() && card.Organisation.isEmpty()
        && card.Department.isEmpty() && card.Title.isEmpty() && card.Addresses.isEmpty()
        && card.Telephones.isEmpty() && card.Emails.isEmpty() && card.Urls.isEmpty()
        && card.Impps.isEmpty() && card.Birthday.isEmpty() && card.Notes.isEmpty()
        && card.Categories.isEmpty() && card.Extra.isEmpty();
}

// "_$!<Other>!$_" is Apple's name for a type of its own.
bool isAppleType(const QString &label)
{
    return label.startsWith(u"_$!<") && label.endsWith(u">!$_") && label.size() > 8;
}

void addType(QStringList &types, const QString &type)
{
    if (!type.isEmpty() && !types.contains(type))
        types.append(type);
}

void applyLabel(const QString &label, QStringList &types, QString &target)
{
    if (isAppleType(label))
        addType(types, label.sliced(4, label.size() - 8).toLower());
    else
        target = label;
}

class VCardReader
{
public:
    VCardReader(QByteArrayView file, std::function<void(ContactCard &&)> take)
        : m_lines(file)
        , m_take(std::move(take))
    {
    }
    QList<CardProblem> read();

private:
    void readLine(QByteArrayView line, int number);
    void beginCard(int line);
    void endCard();
    void report(int line, const QString &reason);
    void reportOnce(bool &reported, const QString &reason);
    void reportBroken(const QString &reason);
    void addProperty(const Property &property);
    void addKnown(Kind kind, const Property &property, const ValueParameters &parameters);

    QString text(const Property &property, const ValueParameters &parameters);
    QString singleText(const Property &property, const ValueParameters &parameters);
    void readName(const QString &value);
    void readOrganisation(const QString &value);
    void readAddress(const Property &property, const ValueParameters &parameters, const QString &value);
    void addValue(QList<CardValue> ContactCard::*list, const Property &property, const ValueParameters &parameters,
                  QString value);
    void readCategories(const QString &value);
    void readBirthday(const Property &property, const ValueParameters &parameters, const QString &value);
    void addExtra(const Property &property, const QString &value);
    void remember(const Property &property, QList<CardValue> ContactCard::*list, qsizetype index);
    void applyLabels();

    LineReader m_lines;
    TextDecoder m_decoder;
    std::function<void(ContactCard &&)> m_take;
    QList<CardProblem> m_problems;
    qsizetype m_cards = 0;

    bool m_inCard = false;
    bool m_v21 = false;
    bool m_reportedColon = false;
    bool m_reportedName = false;
    bool m_reportedOutside = false;
    bool m_broken = false;
    ContactCard m_card;
    QList<GroupedValue> m_grouped;
    QList<GroupLabel> m_labels;
    char m_upperName[64];
};

QList<CardProblem> VCardReader::read()
{
    while (!m_lines.atEnd()) {
        const QByteArrayView line = m_lines.next(m_inCard && m_v21);
        readLine(line, m_lines.lineNumber());
    }
    if (m_inCard) {
        reportBroken(QStringLiteral("manjka END:VCARD"));
        endCard();
    }
    if (m_cards == 0 && m_problems.isEmpty())
        report(1, QStringLiteral("v datoteki ni nobene vizitke"));
    return std::move(m_problems);
}

void VCardReader::report(int line, const QString &reason)
{
    m_problems.append({line, reason});
}

// One report of a kind per card: a card of binary junk would fill the list.
void VCardReader::reportOnce(bool &reported, const QString &reason)
{
    if (!reported)
        reportBroken(reason);
    reported = true;
}

// A card that cannot be read whole is reported and left out: the user sees which, and no
// half card comes in.
void VCardReader::reportBroken(const QString &reason)
{
    report(m_card.Line, reason);
    m_broken = true;
}

void VCardReader::readLine(QByteArrayView line, int number)
{
    if (line.trimmed().isEmpty())
        return;
    Property property;
    const LineFault fault = parseProperty(line, property);
    if (fault == LineFault::None && sameText(property.Name, "BEGIN") && sameText(property.Value.trimmed(), "VCARD")) {
        if (m_inCard) {
            reportBroken(QStringLiteral("manjka END:VCARD"));
            endCard();
        }
        beginCard(number);
        return;
    }
    if (!m_inCard) {
        if (fault == LineFault::None && sameText(property.Name, "END"))
            report(number, QStringLiteral("END:VCARD brez BEGIN:VCARD"));
        else if (!m_reportedOutside)
            report(number, QStringLiteral("vrstica zunaj vizitke"));
        m_reportedOutside = true;
        return;
    }
    if (fault == LineFault::NoColon)
        reportOnce(m_reportedColon, QStringLiteral("vrstica %1 brez dvopičja").arg(number));
    else if (fault == LineFault::BadName)
        reportOnce(m_reportedName, QStringLiteral("neberljiva vrstica %1").arg(number));
    else
        addProperty(property);
}

void VCardReader::beginCard(int line)
{
    m_inCard = true;
    m_v21 = false;
    m_reportedColon = m_reportedName = m_reportedOutside = m_broken = false;
    m_card = ContactCard();
    m_card.Line = line;
    m_grouped.clear();
    m_labels.clear();
}

void VCardReader::endCard()
{
    m_inCard = false;
    if (m_broken)
        return;
    applyLabels();
    if (isEmpty(m_card)) {
        if (!m_reportedColon && !m_reportedName)
            report(m_card.Line, QStringLiteral("prazna vizitka"));
        return;
    }
    ++m_cards;
    m_take(std::move(m_card));
}

void VCardReader::addProperty(const Property &property)
{
    if (property.Name.size() >= qsizetype(sizeof m_upperName)) {
        addKnown(Kind::Binary, property, {});
        return;
    }
    for (qsizetype i = 0; i < property.Name.size(); ++i)
        m_upperName[i] = upperAscii(property.Name[i]);
    const QByteArrayView upperName(m_upperName, property.Name.size());
    const Kind kind = kindOf(upperName);
    const ValueParameters parameters = interpret(property);

    if (kind == Kind::End) {
        endCard();
    } else if (kind == Kind::Version) {
        m_v21 = property.Value.trimmed() == "2.1";
    } else if (kind == Kind::ImScheme) {
        const QString value = singleText(property, parameters);
        if (!value.isEmpty())
            addValue(&ContactCard::Impps, property, parameters, QLatin1String(imScheme(upperName)) + value);
    } else if (parameters.isBinary() && kind != Kind::Bookkeeping) {
        ++m_card.SkippedProperties;
    } else {
        addKnown(kind, property, parameters);
    }
}

void VCardReader::addKnown(Kind kind, const Property &property, const ValueParameters &parameters)
{
    switch (kind) {
    case Kind::Name: readName(text(property, parameters)); break;
    case Kind::FormattedName: m_card.FormattedName = singleText(property, parameters); break;
    case Kind::Organisation: readOrganisation(text(property, parameters)); break;
    case Kind::Title: m_card.Title = singleText(property, parameters); break;
    case Kind::Address: readAddress(property, parameters, text(property, parameters)); break;
    case Kind::Telephone: addValue(&ContactCard::Telephones, property, parameters, text(property, parameters)); break;
    case Kind::Email: addValue(&ContactCard::Emails, property, parameters, singleText(property, parameters)); break;
    case Kind::Url: addValue(&ContactCard::Urls, property, parameters, singleText(property, parameters)); break;
    case Kind::Impp: addValue(&ContactCard::Impps, property, parameters, singleText(property, parameters)); break;
    case Kind::Birthday: readBirthday(property, parameters, text(property, parameters)); break;
    case Kind::Note:
        if (const QString note = singleText(property, parameters); !note.isEmpty())
            m_card.Notes.append(note);
        break;
    case Kind::Categories: readCategories(text(property, parameters)); break;
    case Kind::CardKind: {
        const QString value = singleText(property, parameters).toLower();
        if (value == u"org")
            m_card.IsOrganisation = true;
        else if (value != u"individual" && !value.isEmpty())
            addExtra(property, value);
        break;
    }
    case Kind::ShowAs:
        m_card.IsOrganisation = m_card.IsOrganisation || singleText(property, parameters).compare(u"COMPANY", Qt::CaseInsensitive) == 0;
        break;
    case Kind::Label:
        m_labels.append({property.Group.toByteArray(), singleText(property, parameters)});
        break;
    case Kind::Extra: addExtra(property, singleText(property, parameters)); break;
    case Kind::Binary: ++m_card.SkippedProperties; break;
    case Kind::Begin:
    case Kind::End:
    case Kind::Version:
    case Kind::ImScheme:
    case Kind::Bookkeeping: break;
    }
}

// The value decoded, escapes kept for splitting.
QString VCardReader::text(const Property &property, const ValueParameters &parameters)
{
    QString value = parameters.isQuotedPrintable()
        ? m_decoder.decode(decodeQuotedPrintable(property.Value), parameters.Charset)
        : m_decoder.decode(property.Value, parameters.Charset);
    cleanControls(value);
    return value;
}

QString VCardReader::singleText(const Property &property, const ValueParameters &parameters)
{
    return unescape(text(property, parameters), m_v21).trimmed();
}

void VCardReader::readName(const QString &value)
{
    const Pieces pieces = splitUnescaped(value, u';');
    const auto part = [&](qsizetype index) { return listPart(pieces, index, m_v21, u" "); };
    m_card.Name = {part(0), part(1), part(2), part(3), part(4)};
}

void VCardReader::readOrganisation(const QString &value)
{
    const Pieces pieces = splitUnescaped(value, u';');
    m_card.Organisation = piece(pieces, 0, m_v21);
    if (pieces.size() <= 2) {
        m_card.Department = piece(pieces, 1, m_v21);
        return;
    }
    QStringList units;
    for (qsizetype i = 1; i < pieces.size(); ++i)
        if (const QString unit = piece(pieces, i, m_v21); !unit.isEmpty())
            units.append(unit);
    m_card.Department = units.join(QStringLiteral(", "));
}

// The usual types are shared rather than made anew for every value.
QString typeName(QByteArrayView type)
{
    static const QList<QByteArray> usual = {"home", "work", "cell", "pref", "fax", "other", "pager", "text", "video"};
    static const QStringList names = [] {
        QStringList list;
        for (const QByteArray &name : usual)
            list.append(QString::fromLatin1(name));
        return list;
    }();
    for (qsizetype i = 0; i < usual.size(); ++i)
        if (sameText(type, usual[i]))
            return names[i];
    return QString::fromUtf8(type).toLower();
}

QStringList typeList(const ValueParameters &parameters, QString *label)
{
    QStringList types;
    for (QByteArrayView type : parameters.Types) {
        // The defaults say nothing.
        if (sameText(type, "INTERNET") || sameText(type, "VOICE"))
            continue;
        // Android and Gmail write a type of the user's own as "X-Name".
        if (type.size() > 2 && sameText(type.first(2), "X-")) {
            if (label && label->isEmpty())
                *label = QString::fromUtf8(type.sliced(2));
            continue;
        }
        addType(types, typeName(type));
    }
    if (parameters.Pref)
        addType(types, QStringLiteral("pref"));
    return types;
}

void VCardReader::readAddress(const Property &property, const ValueParameters &parameters, const QString &value)
{
    const Pieces pieces = splitUnescaped(value, u';');
    const auto part = [&](qsizetype index) { return listPart(pieces, index, m_v21, u", "); };
    CardAddress address{part(0), part(1), part(2), part(3), part(4), part(5), part(6), {}, {}};
    address.Types = typeList(parameters, &address.Label);
    m_card.Addresses.append(address);
    remember(property, nullptr, m_card.Addresses.size() - 1);
}

// "tel:+386-1-234-5678;ext=102" as "+386-1-234-5678 ext. 102"; other URI parameters go.
QString telephoneNumber(QString value, bool v21)
{
    value = value.trimmed();
    if (!value.startsWith(u"tel:", Qt::CaseInsensitive))
        return unescape(value, v21).trimmed();
    const QStringList parts = value.sliced(4).split(u';');
    QString number = parts.first().trimmed();
    for (qsizetype i = 1; i < parts.size(); ++i)
        if (parts[i].startsWith(u"ext=", Qt::CaseInsensitive))
            number += QStringLiteral(" ext. ") + parts[i].sliced(4);
    return number;
}

void VCardReader::addValue(QList<CardValue> ContactCard::*list, const Property &property,
                           const ValueParameters &parameters, QString value)
{
    if (list == &ContactCard::Telephones)
        value = telephoneNumber(value, m_v21);
    if (value.isEmpty())
        return;
    CardValue entry{value, {}, {}};
    entry.Types = typeList(parameters, &entry.Label);
    (m_card.*list).append(entry);
    remember(property, list, (m_card.*list).size() - 1);
}

void VCardReader::remember(const Property &property, QList<CardValue> ContactCard::*list, qsizetype index)
{
    if (!property.Group.isEmpty())
        m_grouped.append({property.Group.toByteArray(), list, index});
}

void VCardReader::applyLabels()
{
    for (const GroupLabel &label : std::as_const(m_labels)) {
        if (label.Label.isEmpty())
            continue;
        bool applied = false;
        for (const GroupedValue &value : std::as_const(m_grouped)) {
            if (!sameText(value.Group, label.Group))
                continue;
            if (value.List) {
                CardValue &entry = (m_card.*(value.List))[value.Index];
                applyLabel(label.Label, entry.Types, entry.Label);
            } else {
                CardAddress &address = m_card.Addresses[value.Index];
                applyLabel(label.Label, address.Types, address.Label);
            }
            applied = true;
        }
        // A label of something kept nowhere is kept by itself.
        if (!applied)
            m_card.Extra.append({QStringLiteral("X-ABLabel"), label.Label});
    }
}

// 2.1 separates categories by ";", later versions by ",": both are taken.
void VCardReader::readCategories(const QString &value)
{
    for (QStringView category : splitUnescaped(value, u',', u';')) {
        const QString name = unescape(category, m_v21).trimmed();
        // Gmail's group of every contact says nothing.
        if (!name.isEmpty() && name != u"myContacts" && !m_card.Categories.contains(name))
            m_card.Categories.append(name);
    }
}

void VCardReader::readBirthday(const Property &property, const ValueParameters &parameters, const QString &value)
{
    CardDate date = parseDate(value);
    if (date.isEmpty() || !m_card.Birthday.isEmpty()) {
        // A text ("circa 1800") or a second birthday is not lost.
        addExtra(property, unescape(value, m_v21).trimmed());
        return;
    }
    if (!parameters.OmittedYear.isEmpty() && parameters.OmittedYear.toInt() == date.Year)
        date.Year = 0;
    m_card.Birthday = date;
}

void VCardReader::addExtra(const Property &property, const QString &value)
{
    if (!value.isEmpty())
        m_card.Extra.append({QString::fromLatin1(property.Name), value});
}

// UTF-16 files (with their byte order mark) are read as their UTF-8.
QByteArray asEightBit(const QByteArray &file)
{
    if (file.startsWith("\xFF\xFE") || file.startsWith("\xFE\xFF")) {
        QStringDecoder utf16(QStringDecoder::Utf16);
        return QString(utf16(file)).toUtf8();
    }
    return file;
}

// ---------------------------------------------------------------- writing

// Escapes text as RFC 6350 wants it. Extra values keep their ";": they are written back
// as they were read, with their components.
QString escaped(const QString &text, bool keepSemicolons = false)
{
    const auto special = [keepSemicolons](QChar c) {
        return c == u'\\' || c == u',' || c == u'\n' || c == u'\r' || (c == u';' && !keepSemicolons);
    };
    if (std::none_of(text.cbegin(), text.cend(), special))
        return text;
    QString out;
    out.reserve(text.size() + 8);
    for (QChar c : text) {
        if (c == u'\\' || c == u',' || (c == u';' && !keepSemicolons))
            out += u'\\';
        if (c == u'\n') {
            out += QStringLiteral("\\n");
            continue;
        }
        if (c != u'\r')
            out += c;
    }
    return out;
}

QString joined(const QStringList &parts, QChar separator)
{
    QString out;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            out += separator;
        out += escaped(parts[i]);
    }
    return out;
}

bool isTypeToken(const QString &type)
{
    for (QChar c : type)
        if (c.unicode() > 0x7F || !isNameChar(char(c.unicode())))
            return false;
    return !type.isEmpty();
}

QString composedName(const ContactCard &card)
{
    const CardName &n = card.Name;
    QStringList parts;
    for (const QString &part : {n.Prefix, n.Given, n.Additional, n.Family, n.Suffix})
        if (!part.isEmpty())
            parts.append(part);
    if (!parts.isEmpty())
        return parts.join(u' ');
    if (!card.Organisation.isEmpty())
        return card.Organisation;
    if (!card.Emails.isEmpty())
        return card.Emails.first().Value;
    return card.Telephones.isEmpty() ? QString() : card.Telephones.first().Value;
}

QString twoDigits(int number)
{
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

class VCardWriter
{
public:
    explicit VCardWriter(VCardVersion version) : m_v40(version == VCardVersion::V40) {}
    void write(const ContactCard &card);
    QByteArray take() { return std::move(m_out); }

private:
    void line(const QString &text);
    QString typeParameter(const QStringList &types) const;
    void labelled(const QString &nameAndParameters, const QString &value, const QString &label);
    void writeValues(const char *name, const QList<CardValue> &values);
    void writeAddress(const CardAddress &address);
    void writeBirthday(const CardDate &date);
    void writeExtra(const CardProperty &property);

    bool m_v40;
    int m_group = 0;
    QByteArray m_out;
};

// Folds at 75 octets, never inside a UTF-8 sequence.
void VCardWriter::line(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    qsizetype pos = 0;
    qsizetype room = 75;
    while (bytes.size() - pos > room) {
        qsizetype cut = pos + room;
        while (cut > pos && (uchar(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        m_out.append(bytes.constData() + pos, cut - pos);
        m_out.append("\r\n ");
        pos = cut;
        room = 74;
    }
    m_out.append(bytes.constData() + pos, bytes.size() - pos);
    m_out.append("\r\n");
}

// 4.0 says "pref" with PREF=1.
QString VCardWriter::typeParameter(const QStringList &types) const
{
    QStringList written;
    bool pref = false;
    for (const QString &type : types) {
        if (m_v40 && type == u"pref")
            pref = true;
        else if (isTypeToken(type))
            written.append(type);
    }
    QString parameter;
    if (!written.isEmpty())
        parameter += QStringLiteral(";TYPE=") + written.join(u',');
    if (pref)
        parameter += QStringLiteral(";PREF=1");
    return parameter;
}

// A label goes with its value in a group, as iPhone and Gmail write it.
void VCardWriter::labelled(const QString &nameAndParameters, const QString &value, const QString &label)
{
    if (label.isEmpty()) {
        line(nameAndParameters + u':' + value);
        return;
    }
    const QString group = QStringLiteral("item%1.").arg(++m_group);
    line(group + nameAndParameters + u':' + value);
    line(group + QStringLiteral("X-ABLabel:") + escaped(label));
}

void VCardWriter::writeValues(const char *name, const QList<CardValue> &values)
{
    for (const CardValue &value : values)
        labelled(QLatin1String(name) + typeParameter(value.Types), escaped(value.Value), value.Label);
}

void VCardWriter::writeAddress(const CardAddress &address)
{
    const QStringList parts = {address.PostOfficeBox, address.Extended, address.Street, address.Locality,
                               address.Region, address.PostalCode, address.Country};
    labelled(QStringLiteral("ADR") + typeParameter(address.Types), joined(parts, u';'), address.Label);
}

// 3.0 has no date without a year: Apple's convention keeps day and month.
void VCardWriter::writeBirthday(const CardDate &date)
{
    if (date.isEmpty())
        return;
    const QString monthDay = twoDigits(date.Month) + twoDigits(date.Day);
    if (m_v40)
        line(QStringLiteral("BDAY:") + (date.hasYear() ? QStringLiteral("%1").arg(date.Year, 4, 10, QLatin1Char('0')) : QStringLiteral("--")) + monthDay);
    else if (date.hasYear())
        line(QStringLiteral("BDAY:%1-%2-%3").arg(date.Year, 4, 10, QLatin1Char('0')).arg(twoDigits(date.Month), twoDigits(date.Day)));
    else
        line(QStringLiteral("BDAY;X-APPLE-OMIT-YEAR=1604:1604-%1-%2").arg(twoDigits(date.Month), twoDigits(date.Day)));
}

void VCardWriter::writeExtra(const CardProperty &property)
{
    const QByteArray name = property.Name.toLatin1();
    const Kind kind = kindOf(name.toUpper());
    if (!isName(name) || kind == Kind::Begin || kind == Kind::End || kind == Kind::Version)
        return;
    line(property.Name + u':' + escaped(property.Value, true));
}

void VCardWriter::write(const ContactCard &card)
{
    m_group = 0;
    line(QStringLiteral("BEGIN:VCARD"));
    line(m_v40 ? QStringLiteral("VERSION:4.0") : QStringLiteral("VERSION:3.0"));
    if (card.IsOrganisation && m_v40)
        line(QStringLiteral("KIND:org"));
    const CardName &n = card.Name;
    line(QStringLiteral("N:") + joined({n.Family, n.Given, n.Additional, n.Prefix, n.Suffix}, u';'));
    line(QStringLiteral("FN:") + escaped(card.FormattedName.isEmpty() ? composedName(card) : card.FormattedName));
    if (card.IsOrganisation && !m_v40)
        line(QStringLiteral("X-ABShowAs:COMPANY"));
    if (!card.Organisation.isEmpty() || !card.Department.isEmpty())
        line(QStringLiteral("ORG:") + escaped(card.Organisation)
             + (card.Department.isEmpty() ? QString() : u';' + escaped(card.Department)));
    if (!card.Title.isEmpty())
        line(QStringLiteral("TITLE:") + escaped(card.Title));
    for (const CardAddress &address : card.Addresses)
        writeAddress(address);
    writeValues("TEL", card.Telephones);
    writeValues("EMAIL", card.Emails);
    writeValues("URL", card.Urls);
    writeValues("IMPP", card.Impps);
    writeBirthday(card.Birthday);
    for (const QString &note : card.Notes)
        line(QStringLiteral("NOTE:") + escaped(note));
    if (!card.Categories.isEmpty())
        line(QStringLiteral("CATEGORIES:") + joined(card.Categories, u','));
    for (const CardProperty &property : card.Extra)
        writeExtra(property);
    line(QStringLiteral("END:VCARD"));
}

}

namespace {

// The file as the reader reads it: eight-bit text without a byte order mark.
QByteArrayView readableText(const QByteArray &text)
{
    QByteArrayView view(text);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    return view;
}

}

QList<CardProblem> ReadVCards(const QByteArray &file, const std::function<void(ContactCard &&card)> &take)
{
    const QByteArray text = asEightBit(file);
    return VCardReader(readableText(text), take).read();
}

ReadCards ReadVCards(const QByteArray &file)
{
    ReadCards result;
    // Room made at once: moving a hundred thousand cards as the list grows costs more than counting.
    result.Cards.reserve(CountVCards(file));
    result.Problems = ReadVCards(file, [&result](ContactCard &&card) { result.Cards.append(std::move(card)); });
    return result;
}

qsizetype CountVCards(const QByteArray &file)
{
    const QByteArray text = asEightBit(file);
    const QByteArrayView view = readableText(text);
    return QByteArray::fromRawData(view.data(), view.size()).count("BEGIN:VCARD");
}

QByteArray WriteVCards(const QList<ContactCard> &cards, VCardVersion version)
{
    VCardWriter writer(version);
    for (const ContactCard &card : cards)
        writer.write(card);
    return writer.take();
}
