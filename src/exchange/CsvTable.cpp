#include "CsvTable.h"

#include "TextCodec.h"

#include <QStringDecoder>

#include <array>

namespace {

const QChar Quote = u'"';

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

// Past one line end at pos: CRLF, LF, or CR alone as old Mac programs write it.
qsizetype skipLineEnd(QStringView text, qsizetype pos)
{
    if (text[pos] == u'\r' && pos + 1 < text.size() && text[pos + 1] == u'\n')
        return pos + 2;
    return pos + 1;
}

// The start of the line after the one holding pos; counts the line ends passed.
qsizetype nextLineStart(QStringView text, qsizetype pos, int *lineEnds)
{
    while (pos < text.size() && !isLineEnd(text[pos]))
        ++pos;
    if (pos < text.size()) {
        pos = skipLineEnd(text, pos);
        ++*lineEnds;
    }
    return pos;
}

int countLineEnds(QStringView text, qsizetype from, qsizetype to)
{
    int lineEnds = 0;
    for (qsizetype pos = from; pos < to; ++pos) {
        if (isLineEnd(text[pos])) {
            pos = skipLineEnd(text, pos) - 1;
            ++lineEnds;
        }
    }
    return lineEnds;
}

struct Record
{
    QStringList Fields;
    qsizetype End = 0;      // where the next record begins
    int LineEnds = 0;       // those inside quotes and the one closing the record
    qsizetype OpenQuote = -1; // a quote still open at the end of the text
};

// Where the run of ordinary characters from pos ends.
qsizetype plainRunEnd(QStringView text, qsizetype pos, QChar delimiter, bool quoted)
{
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == Quote || isLineEnd(c) || (!quoted && c == delimiter))
            break;
        ++pos;
    }
    return pos;
}

// One record from pos. A quote opens a quoted field only at the field's start; a quote
// elsewhere, and text after a closing quote, are kept as written, as spreadsheets do.
Record readRecord(QStringView text, qsizetype pos, QChar delimiter)
{
    Record record;
    QString field;
    bool fieldStarted = false;
    qsizetype quoteAt = -1;
    const qsizetype size = text.size();
    while (pos < size) {
        const QChar c = text[pos];
        if (quoteAt >= 0) {
            if (c == Quote) {
                if (pos + 1 < size && text[pos + 1] == Quote) {
                    field += Quote;
                    pos += 2;
                } else {
                    quoteAt = -1;
                    ++pos;
                }
            } else if (isLineEnd(c)) {
                field += u'\n';
                pos = skipLineEnd(text, pos);
                ++record.LineEnds;
            } else {
                const qsizetype end = plainRunEnd(text, pos, delimiter, true);
                field += text.sliced(pos, end - pos);
                pos = end;
            }
            continue;
        }
        if (c == delimiter) {
            record.Fields.append(field);
            field.clear();
            fieldStarted = false;
            ++pos;
            continue;
        }
        if (isLineEnd(c)) {
            pos = skipLineEnd(text, pos);
            ++record.LineEnds;
            break;
        }
        if (c == Quote) {
            if (fieldStarted)
                field += Quote;
            else
                quoteAt = pos;
            ++pos;
        } else {
            const qsizetype end = plainRunEnd(text, pos, delimiter, false);
            field += text.sliced(pos, end - pos);
            pos = end;
        }
        fieldStarted = true;
    }
    record.Fields.append(field);
    record.End = pos;
    record.OpenQuote = quoteAt;
    return record;
}

// Excel's first line "sep=;" names the delimiter.
bool readSeparatorLine(QStringView text, QChar *delimiter, qsizetype *next)
{
    if (text.size() < 5 || !text.startsWith(u"sep=", Qt::CaseInsensitive))
        return false;
    if (text.size() > 5 && !isLineEnd(text[5]))
        return false;
    *delimiter = text[4];
    *next = text.size() > 5 ? skipLineEnd(text, 5) : 5;
    return true;
}

}

QString DecodeCsvText(const QByteArray &bytes, CsvEncoding *found, bool *decodable)
{
    CsvEncoding encoding = CsvEncoding::Utf8;
    QString text;
    bool ok = true;
    auto decodeUtf16 = [&](QStringDecoder::Encoding which, qsizetype skip) {
        text = QStringDecoder(which)(bytes.mid(skip));
        encoding = which == QStringDecoder::Utf16LE ? CsvEncoding::Utf16LE : CsvEncoding::Utf16BE;
    };
    auto decodeEightBit = [&] {
        TextCodec::Encoding codec;
        text = TextCodec::decode(bytes, &codec); // drops a UTF-8 BOM
        encoding = codec == TextCodec::Encoding::Windows1250 ? CsvEncoding::Windows1250 : CsvEncoding::Utf8;
        ok = codec != TextCodec::Encoding::Undecodable;
    };
    if (bytes.startsWith("\xFF\xFE")) {
        decodeUtf16(QStringDecoder::Utf16LE, 2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        decodeUtf16(QStringDecoder::Utf16BE, 2);
    } else if (bytes.startsWith("\xEF\xBB\xBF")) {
        // The UTF-8 BOM says it all: NUL bytes in the fields make it no UTF-16.
        decodeEightBit();
    } else {
        // Without a BOM, UTF-16 shows itself by the NUL high bytes of its Latin letters.
        const qsizetype sample = qMin<qsizetype>(bytes.size(), 4096);
        std::array<qsizetype, 2> nulls{0, 0};
        for (qsizetype i = 0; i < sample; ++i)
            if (bytes[i] == '\0')
                ++nulls[i % 2];
        if (nulls[0] + nulls[1] > sample / 4)
            decodeUtf16(nulls[1] > nulls[0] ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE, 0);
        else
            decodeEightBit();
    }
    if (found)
        *found = encoding;
    if (decodable)
        *decodable = ok;
    return text;
}

QChar DetectCsvDelimiter(QStringView text)
{
    const std::array<QChar, 3> candidates{u',', u';', u'\t'};
    constexpr int LinesLooked = 10;
    QList<std::array<int, 3>> counts;
    std::array<int, 3> line{0, 0, 0};
    bool inQuotes = false;
    bool lineHasText = false;
    for (qsizetype pos = 0; pos < text.size() && counts.size() < LinesLooked; ++pos) {
        const QChar c = text[pos];
        if (!inQuotes && isLineEnd(c)) {
            if (lineHasText)
                counts.append(line);
            line = {0, 0, 0};
            lineHasText = false;
            continue;
        }
        lineHasText = true;
        if (c == Quote) {
            inQuotes = !inQuotes;
        } else if (!inQuotes) {
            for (int i = 0; i < 3; ++i)
                if (c == candidates[i])
                    ++line[i];
        }
    }
    if (lineHasText)
        counts.append(line);

    // A delimiter splits every line into as many fields; a comma inside an unquoted
    // address does not. Failing that, the most frequent one.
    int best = 0;
    int bestScore = 0;
    bool bestEven = false;
    for (int i = 0; i < 3; ++i) {
        int total = 0;
        bool even = !counts.isEmpty();
        for (const auto &lineCounts : counts) {
            total += lineCounts[i];
            even = even && lineCounts[i] > 0 && lineCounts[i] == counts.first()[i];
        }
        const int score = even ? counts.first()[i] : total;
        if (total > 0 && ((even && !bestEven) || (even == bestEven && score > bestScore))) {
            best = i;
            bestScore = score;
            bestEven = even;
        }
    }
    return candidates[best];
}

CsvTable ReadCsvTable(const QByteArray &bytes)
{
    CsvTable table;
    bool decodable = true;
    const QString text = DecodeCsvText(bytes, &table.Encoding, &decodable);
    if (!decodable) {
        // Reading on would replace the letters it cannot read; better nothing than that.
        table.Problems.append(CardProblem{1, QStringLiteral(
            "Datoteka ni v zapisu UTF-8, kodne tabele Windows-1250 pa ta sistem ne pozna; ni prebrana.")});
        return table;
    }
    qsizetype pos = 0;
    int line = 1;
    if (readSeparatorLine(text, &table.Delimiter, &pos))
        line = 2;
    else
        table.Delimiter = DetectCsvDelimiter(text);

    while (pos < text.size()) {
        if (isLineEnd(text[pos])) {
            pos = skipLineEnd(text, pos);
            ++line;
            continue;
        }
        const Record record = readRecord(text, pos, table.Delimiter);
        if (record.OpenQuote >= 0) {
            table.Problems.append(CardProblem{line, QStringLiteral(
                "Narekovaj se do konca datoteke ne zapre; vrstica ni prebrana.")});
            const int skippedLines = countLineEnds(text, pos, record.OpenQuote);
            int lineEnds = 0;
            pos = nextLineStart(text, record.OpenQuote, &lineEnds);
            line += skippedLines + lineEnds;
            continue;
        }
        table.Rows.append(CsvRow{line, record.Fields});
        pos = record.End;
        line += record.LineEnds;
    }
    return table;
}
