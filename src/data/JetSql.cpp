#include "JetSql.h"

#include "DatabaseError.h"
#include "Schema.h"

#include <QCoreApplication>
#include <QList>

#include <algorithm>
#include <optional>

namespace JetSql {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("JetSql", text);
}

// What a statement holds that the translator cannot carry over, as the user is told it.
struct Refusal
{
    QString message;
};

[[noreturn]] void refuse(const QString &construct)
{
    throw Refusal{tr("Poizvedba uporablja %1, ki ga program ne zna prevesti.").arg(construct)};
}

enum class Kind { Space, Word, Name, String, Number, Parameter, Symbol };

struct Token
{
    Kind kind;
    QString text; // a Name's or String's text without its quotes
    qsizetype start = -1; // where it begins in the statement read, -1 for one written here
};

using Tokens = QList<Token>;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

Tokens tokenize(const QString &sql)
{
    Tokens tokens;
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        qsizetype j = i + 1;
        if (c.isSpace()) {
            while (j < n && sql[j].isSpace())
                ++j;
            tokens.append({Kind::Space, sql.mid(i, j - i), i});
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            while (j < n && isWordChar(sql[j]))
                ++j;
            tokens.append({Kind::Word, sql.mid(i, j - i), i});
        } else if (c.isDigit()) {
            while (j < n && (sql[j].isDigit() || sql[j] == QLatin1Char('.')))
                ++j;
            tokens.append({Kind::Number, sql.mid(i, j - i), i});
        } else if (c == QLatin1Char('[')) {
            while (j < n && sql[j] != QLatin1Char(']'))
                ++j;
            tokens.append({Kind::Name, sql.mid(i + 1, j - i - 1), i});
            j = qMin(j + 1, n);
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            QString text;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        text += c;
                        j += 2;
                        continue;
                    }
                    ++j;
                    break;
                }
                text += sql[j++];
            }
            tokens.append({Kind::String, text, i});
        } else if (c == QLatin1Char(':') && j < n && (sql[j].isLetter() || sql[j] == QLatin1Char('_'))) {
            while (j < n && isWordChar(sql[j]))
                ++j;
            tokens.append({Kind::Parameter, sql.mid(i, j - i), i});
        } else {
            const QString pair = sql.mid(i, 2);
            if (pair == QLatin1String("<>") || pair == QLatin1String("<=") || pair == QLatin1String(">=")
                || pair == QLatin1String("||"))
                j = i + 2;
            tokens.append({Kind::Symbol, sql.mid(i, j - i), i});
        }
        i = j;
    }
    return tokens;
}

bool is(const Token &token, const char *word)
{
    return token.kind == Kind::Word && token.text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

bool isSymbol(const Token &token, const char *symbol)
{
    return token.kind == Kind::Symbol && token.text == QLatin1String(symbol);
}

bool isIdentifier(const Token &token)
{
    return token.kind == Kind::Word || token.kind == Kind::Name;
}

qsizetype nextSolid(const Tokens &tokens, qsizetype i)
{
    for (++i; i < tokens.size(); ++i)
        if (tokens[i].kind != Kind::Space)
            return i;
    return -1;
}

qsizetype previousSolid(const Tokens &tokens, qsizetype i)
{
    for (--i; i >= 0; --i)
        if (tokens[i].kind != Kind::Space)
            return i;
    return -1;
}

// The first word at parenthesis depth 0 from a position, or -1.
qsizetype findTopLevel(const Tokens &tokens, const char *word, qsizetype from = 0, qsizetype to = -1)
{
    int depth = 0;
    if (to < 0)
        to = tokens.size();
    for (qsizetype i = from; i < to; ++i) {
        if (isSymbol(tokens[i], "("))
            ++depth;
        else if (isSymbol(tokens[i], ")"))
            --depth;
        else if (depth == 0 && is(tokens[i], word))
            return i;
    }
    return -1;
}

// Where the statement's clauses end: before a closing ";" and trailing blanks.
qsizetype statementEnd(const Tokens &tokens)
{
    qsizetype end = tokens.size();
    while (end > 0 && (tokens[end - 1].kind == Kind::Space || isSymbol(tokens[end - 1], ";")))
        --end;
    return end;
}

Token space()
{
    return {Kind::Space, QStringLiteral(" ")};
}

Token word(const QString &text)
{
    return {Kind::Word, text};
}

Token symbol(const char *text)
{
    return {Kind::Symbol, QString::fromLatin1(text)};
}

Tokens trimmed(Tokens tokens)
{
    while (!tokens.isEmpty() && tokens.first().kind == Kind::Space)
        tokens.removeFirst();
    while (!tokens.isEmpty() && tokens.last().kind == Kind::Space)
        tokens.removeLast();
    return tokens;
}

Token string(const QString &text)
{
    return {Kind::String, text};
}

// The parenthesis that closes (step 1) or opens (step -1) the one at i, or -1.
qsizetype matchingParenthesis(const Tokens &tokens, qsizetype i, int step)
{
    int depth = 0;
    for (; i >= 0 && i < tokens.size(); i += step) {
        if (isSymbol(tokens[i], "("))
            depth += step;
        else if (isSymbol(tokens[i], ")"))
            depth -= step;
        if (depth == 0)
            return i;
    }
    return -1;
}

bool isKeyword(const Tokens &tokens, qsizetype i)
{
    static const QStringList keywords{
        QStringLiteral("SELECT"), QStringLiteral("DISTINCT"), QStringLiteral("DISTINCTROW"), QStringLiteral("ALL"),
        QStringLiteral("TOP"), QStringLiteral("FROM"), QStringLiteral("WHERE"), QStringLiteral("AND"), QStringLiteral("OR"),
        QStringLiteral("NOT"), QStringLiteral("XOR"), QStringLiteral("EQV"), QStringLiteral("IMP"), QStringLiteral("LIKE"),
        QStringLiteral("ILIKE"), QStringLiteral("ESCAPE"), QStringLiteral("IS"), QStringLiteral("IN"), QStringLiteral("BETWEEN"),
        QStringLiteral("EXISTS"), QStringLiteral("AS"), QStringLiteral("ON"), QStringLiteral("SET"), QStringLiteral("ORDER"),
        QStringLiteral("GROUP"), QStringLiteral("BY"), QStringLiteral("HAVING"), QStringLiteral("ASC"), QStringLiteral("DESC"),
        QStringLiteral("VALUES"), QStringLiteral("INTO"), QStringLiteral("INSERT"), QStringLiteral("UPDATE"),
        QStringLiteral("DELETE"), QStringLiteral("JOIN"), QStringLiteral("INNER"), QStringLiteral("LEFT"), QStringLiteral("RIGHT"),
        QStringLiteral("OUTER"), QStringLiteral("UNION")};
    if (tokens[i].kind != Kind::Word || !keywords.contains(tokens[i].text, Qt::CaseInsensitive))
        return false;
    // Left( and Right( are functions; the words also begin joins.
    const qsizetype next = nextSolid(tokens, i);
    return !((is(tokens[i], "LEFT") || is(tokens[i], "RIGHT")) && next >= 0 && isSymbol(tokens[next], "("));
}

bool isFunctionCall(const Tokens &tokens, qsizetype i)
{
    const qsizetype next = nextSolid(tokens, i);
    const qsizetype previous = previousSolid(tokens, i);
    // INSERT INTO T (...) names columns.
    return tokens[i].kind == Kind::Word && !isKeyword(tokens, i) && next >= 0 && isSymbol(tokens[next], "(")
        && !(previous >= 0 && is(tokens[previous], "INTO"));
}

// How far an operand reaches: a term of & takes in arithmetic, which binds more strongly;
// a comparand (an operand of a comparison or of Like) takes in & as well.
enum class Extent { Term, Comparand };

bool belongsToOperand(const Tokens &tokens, qsizetype i, Extent extent)
{
    static const QStringList arithmetic{QStringLiteral("."), QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("*"),
                                        QStringLiteral("/"), QStringLiteral("\\"), QStringLiteral("^")};
    const Token &token = tokens[i];
    switch (token.kind) {
    case Kind::Word:
        return !isKeyword(tokens, i);
    case Kind::Symbol:
        return arithmetic.contains(token.text) || (extent == Extent::Comparand && token.text == QLatin1String("&"));
    default:
        return true;
    }
}

// One past the last token of the operand that follows position `after`; after + 1 when there is none.
qsizetype operandEnd(const Tokens &tokens, qsizetype after, Extent extent)
{
    qsizetype end = after + 1;
    for (qsizetype i = after + 1; i < tokens.size(); ++i) {
        if (isSymbol(tokens[i], "(")) {
            i = matchingParenthesis(tokens, i, 1);
            if (i < 0)
                break;
            end = i + 1;
        } else if (!belongsToOperand(tokens, i, extent)) {
            break;
        } else if (tokens[i].kind != Kind::Space) {
            end = i + 1;
        }
    }
    return end;
}

// The first token of the operand that ends before position `before`; `before` when there is none.
qsizetype operandStart(const Tokens &tokens, qsizetype before, Extent extent)
{
    qsizetype start = before;
    for (qsizetype i = before - 1; i >= 0; --i) {
        if (isSymbol(tokens[i], ")")) {
            i = matchingParenthesis(tokens, i, -1);
            if (i < 0)
                break;
            start = i;
        } else if (!belongsToOperand(tokens, i, extent)) {
            break;
        } else if (tokens[i].kind != Kind::Space) {
            start = i;
        }
    }
    return start;
}

// An operand without blanks and without parentheses around the whole of it.
Tokens bare(Tokens operand)
{
    operand.removeIf([](const Token &token) { return token.kind == Kind::Space; });
    while (operand.size() >= 2 && isSymbol(operand.first(), "(") && matchingParenthesis(operand, 0, 1) == operand.size() - 1)
        operand = operand.mid(1, operand.size() - 2);
    return operand;
}

// UPDATE A INNER JOIN B ON c SET A.x = e WHERE w  ->  UPDATE A SET x = e FROM B WHERE (c) AND (w)
void rewriteUpdateWithJoin(Tokens &tokens)
{
    const qsizetype update = nextSolid(tokens, -1);
    if (update < 0 || !is(tokens[update], "UPDATE"))
        return;
    const qsizetype join = findTopLevel(tokens, "JOIN", update);
    const qsizetype on = findTopLevel(tokens, "ON", update);
    const qsizetype set = findTopLevel(tokens, "SET", update);
    if (join < 0 || on < 0 || set < 0 || !(join < on && on < set))
        return;
    const qsizetype target = nextSolid(tokens, update);
    const qsizetype end = statementEnd(tokens);
    const qsizetype where = findTopLevel(tokens, "WHERE", set, end);
    const QString targetName = tokens[target].text;

    Tokens assignments = tokens.mid(set + 1, (where < 0 ? end : where) - set - 1);
    // The assigned columns are named without their table.
    for (qsizetype i = 0; i < assignments.size(); ++i) {
        if (assignments[i].kind == Kind::Space)
            continue;
        const qsizetype previous = previousSolid(assignments, i);
        if (previous >= 0 && !isSymbol(assignments[previous], ","))
            continue;
        const qsizetype dot = nextSolid(assignments, i);
        if (isIdentifier(assignments[i]) && assignments[i].text.compare(targetName, Qt::CaseInsensitive) == 0 && dot >= 0
            && isSymbol(assignments[dot], ".")) {
            assignments.remove(i, dot - i + 1);
        }
    }
    const qsizetype joined = nextSolid(tokens, join);
    Tokens result = tokens.mid(0, target + 1);
    result << space() << word(QStringLiteral("SET")) << space() << trimmed(assignments) << space() << word(QStringLiteral("FROM"))
           << space() << tokens[joined] << space() << word(QStringLiteral("WHERE")) << space() << symbol("(")
           << trimmed(tokens.mid(on + 1, set - on - 1)) << symbol(")");
    if (where >= 0)
        result << space() << word(QStringLiteral("AND")) << space() << symbol("(") << trimmed(tokens.mid(where + 1, end - where - 1))
               << symbol(")");
    result << tokens.mid(end);
    tokens = result;
}

struct TableReference
{
    QString alias;
    const Schema::Table *table;
    qsizetype at; // the table's name in the FROM clause
};

QList<TableReference> fromTables(const Tokens &tokens, qsizetype from, qsizetype end)
{
    QList<TableReference> tables;
    for (qsizetype i = from + 1; i < end; ++i) {
        if (!isIdentifier(tokens[i]))
            continue;
        const Schema::Table *table = Schema::table(tokens[i].text);
        const qsizetype next = nextSolid(tokens, i);
        if (!table || (next >= 0 && isSymbol(tokens[next], ".")))
            continue;
        QString alias = tokens[i].text;
        if (next >= 0 && is(tokens[next], "AS")) {
            const qsizetype name = nextSolid(tokens, next);
            if (name >= 0 && isIdentifier(tokens[name]))
                alias = tokens[name].text;
        }
        tables.append({alias, table, i});
    }
    return tables;
}

// What a SELECT DISTINCTROW reads: its tables, and those it selects columns from.
struct DistinctRow
{
    qsizetype distinct = -1;
    qsizetype from = -1;
    qsizetype clauseEnd = -1; // end of the FROM clause
    qsizetype end = -1;
    QList<TableReference> tables;
    QStringList selected;

    bool isSelected(const QString &alias) const { return selected.contains(alias, Qt::CaseInsensitive); }
};

DistinctRow analyse(const Tokens &tokens)
{
    DistinctRow statement;
    const qsizetype select = nextSolid(tokens, -1);
    const qsizetype distinct = select < 0 ? -1 : nextSolid(tokens, select);
    if (distinct < 0 || !is(tokens[select], "SELECT") || !is(tokens[distinct], "DISTINCTROW"))
        return statement;
    statement.end = statementEnd(tokens);
    statement.from = findTopLevel(tokens, "FROM", distinct, statement.end);
    if (statement.from < 0)
        return statement;
    statement.distinct = distinct;
    statement.clauseEnd = statement.end;
    for (const char *clause : {"WHERE", "GROUP", "ORDER", "HAVING"}) {
        const qsizetype at = findTopLevel(tokens, clause, statement.from, statement.end);
        if (at >= 0)
            statement.clauseEnd = qMin(statement.clauseEnd, at);
    }
    statement.tables = fromTables(tokens, statement.from, statement.clauseEnd);
    const auto note = [&statement](const QString &alias) {
        if (!statement.isSelected(alias))
            statement.selected << alias;
    };
    for (qsizetype i = distinct + 1; i < statement.from; ++i) {
        if (!isIdentifier(tokens[i]))
            continue;
        const qsizetype next = nextSolid(tokens, i);
        const qsizetype previous = previousSolid(tokens, i);
        if (next >= 0 && isSymbol(tokens[next], ".")) {
            note(tokens[i].text);
            i = next;
            continue;
        }
        const bool function = next >= 0 && isSymbol(tokens[next], "(");
        const bool alias = previous >= 0 && is(tokens[previous], "AS");
        if (function || alias || (previous >= 0 && isSymbol(tokens[previous], ".")))
            continue;
        for (const TableReference &reference : std::as_const(statement.tables)) {
            if (reference.table->column(tokens[i].text)) {
                note(reference.alias);
                break;
            }
        }
    }
    return statement;
}

// The end of a join's ON condition: the next join, clause or closing parenthesis at its level.
qsizetype conditionEnd(const Tokens &tokens, qsizetype on, qsizetype limit)
{
    int depth = 0;
    for (qsizetype i = on + 1; i < limit; ++i) {
        if (isSymbol(tokens[i], "("))
            ++depth;
        else if (isSymbol(tokens[i], ")") && --depth < 0)
            return i;
        else if (depth == 0
                 && (is(tokens[i], "LEFT") || is(tokens[i], "RIGHT") || is(tokens[i], "INNER") || is(tokens[i], "JOIN")))
            return i;
    }
    return limit;
}

// "(T)" or "(T AS A)" left behind by a removed join: servers take a lone table only without parentheses.
void unwrapLoneTable(Tokens &tokens, qsizetype around)
{
    qsizetype close = around < tokens.size() && tokens[around].kind != Kind::Space ? around : nextSolid(tokens, around - 1);
    if (close < 0 || !isSymbol(tokens[close], ")"))
        return;
    qsizetype open = previousSolid(tokens, close);
    while (open >= 0 && (isIdentifier(tokens[open]) || is(tokens[open], "AS")))
        open = previousSolid(tokens, open);
    if (open < 0 || !isSymbol(tokens[open], "(") || previousSolid(tokens, close) == open)
        return;
    const qsizetype before = previousSolid(tokens, open);
    if (before < 0 || !(is(tokens[before], "FROM") || is(tokens[before], "JOIN") || isSymbol(tokens[before], "(")))
        return;
    while (close > 0 && tokens[close - 1].kind == Kind::Space)
        tokens.remove(--close);
    tokens.remove(close);
    tokens.remove(open);
}

// A table that is only LEFT JOINed, and named nowhere else, can only repeat the rows of
// the others; with DISTINCTROW those repeats vanish anyway, so the join can go. (It
// stays when a filter names one of its columns.)
bool removeUnusedLeftJoin(Tokens &tokens)
{
    const DistinctRow statement = analyse(tokens);
    if (statement.distinct < 0)
        return false;
    for (const TableReference &reference : statement.tables) {
        if (statement.isSelected(reference.alias))
            continue;
        const qsizetype join = previousSolid(tokens, reference.at);
        qsizetype left = join < 0 ? -1 : previousSolid(tokens, join);
        if (left >= 0 && is(tokens[left], "OUTER"))
            left = previousSolid(tokens, left);
        qsizetype on = nextSolid(tokens, reference.at);
        if (on >= 0 && is(tokens[on], "AS"))
            on = nextSolid(tokens, nextSolid(tokens, on));
        if (left < 0 || !is(tokens[join], "JOIN") || !is(tokens[left], "LEFT") || on < 0 || !is(tokens[on], "ON"))
            continue;
        const qsizetype until = conditionEnd(tokens, on, statement.clauseEnd);
        bool named = false;
        for (qsizetype i = 0; i < tokens.size() && !named; ++i) {
            if (i == left) {
                i = until - 1;
                continue;
            }
            if (!isIdentifier(tokens[i]))
                continue;
            const qsizetype next = nextSolid(tokens, i);
            const qsizetype previous = previousSolid(tokens, i);
            const bool qualifier = next >= 0 && isSymbol(tokens[next], ".");
            const bool qualified = previous >= 0 && isSymbol(tokens[previous], ".");
            named = (qualifier && tokens[i].text.compare(reference.alias, Qt::CaseInsensitive) == 0)
                || (!qualifier && !qualified && reference.table->column(tokens[i].text));
        }
        if (named)
            continue;
        tokens.remove(left, until - left);
        while (left > 0 && left < tokens.size() && tokens[left].kind == Kind::Space && tokens[left - 1].kind == Kind::Space)
            tokens.remove(left);
        unwrapLoneTable(tokens, left);
        return true;
    }
    return false;
}

// DISTINCTROW lists each combination of rows of the tables whose columns are selected
// once, whatever the other joined tables hold. Grouping by the keys of those tables
// does the same on engines that only know DISTINCT.
void rewriteDistinctRow(Tokens &tokens)
{
    while (removeUnusedLeftJoin(tokens)) {
    }
    const DistinctRow statement = analyse(tokens);
    if (statement.distinct < 0)
        return;
    const qsizetype afterDistinct = nextSolid(tokens, statement.distinct);
    if (statement.selected.size() == statement.tables.size()) {
        // Every joined table is selected from: DISTINCTROW changes nothing.
        tokens.remove(statement.distinct, afterDistinct - statement.distinct);
        return;
    }
    QStringList keys;
    for (const TableReference &reference : statement.tables)
        if (statement.isSelected(reference.alias))
            keys << reference.alias + QLatin1Char('.') + QString::fromLatin1(reference.table->key);
    const Token groupBy = word(QStringLiteral("GROUP BY ") + keys.join(QStringLiteral(", ")));
    const qsizetype order = findTopLevel(tokens, "ORDER", statement.from, statement.end);
    Tokens result = tokens.mid(0, statement.distinct)
        + tokens.mid(afterDistinct, (order >= 0 ? order : statement.end) - afterDistinct);
    if (order >= 0)
        result << groupBy << space() << tokens.mid(order);
    else
        result << space() << groupBy << tokens.mid(statement.end);
    tokens = result;
}

void removeDeleteStar(Tokens &tokens)
{
    const qsizetype del = nextSolid(tokens, -1);
    const qsizetype star = del < 0 ? -1 : nextSolid(tokens, del);
    if (star < 0 || !is(tokens[del], "DELETE") || !isSymbol(tokens[star], "*"))
        return;
    const qsizetype after = nextSolid(tokens, star);
    tokens.remove(del + 1, (after < 0 ? tokens.size() : after) - del - 1);
    tokens.insert(del + 1, space());
}

bool isYesNoColumn(const Tokens &operand)
{
    const Tokens name = bare(operand);
    const bool plain = name.size() == 1;
    const bool qualified = name.size() == 3 && isIdentifier(name[0]) && isSymbol(name[1], ".");
    if (!(plain || qualified) || !isIdentifier(name.last()))
        return false;
    const Schema::Column *column = Schema::anyColumn(name.last().text);
    return column && column->type == Schema::Type::YesNo;
}

// Jet's True is -1 and its False 0; the engines know them only by name.
std::optional<Token> truthValue(const Tokens &operand)
{
    const Tokens value = bare(operand);
    const bool negative = value.size() == 2 && isSymbol(value.first(), "-");
    if (value.size() != (negative ? 2 : 1) || value.last().kind != Kind::Number)
        return std::nullopt;
    const double number = value.last().text.toDouble();
    if (negative && number == 1)
        return word(QStringLiteral("True"));
    if (number == 0)
        return word(QStringLiteral("False"));
    return std::nullopt;
}

// Puts the truth value in place of a number between from and to that stands for one;
// returns how many tokens fewer there are.
qsizetype replaceTruthNumber(Tokens &tokens, qsizetype from, qsizetype to)
{
    const qsizetype first = nextSolid(tokens, from - 1);
    const qsizetype last = previousSolid(tokens, to);
    if (first < 0 || last < first)
        return 0;
    const std::optional<Token> truth = truthValue(tokens.mid(first, last - first + 1));
    if (!truth)
        return 0;
    tokens.remove(first, last - first + 1);
    tokens.insert(first, *truth);
    return last - first;
}

// A yes/no column compared with (or set to) -1 or 0.
void rewriteComparedTruth(Tokens &tokens)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!isSymbol(tokens[i], "=") && !isSymbol(tokens[i], "<>"))
            continue;
        const qsizetype start = operandStart(tokens, i, Extent::Comparand);
        const qsizetype end = operandEnd(tokens, i, Extent::Comparand);
        if (isYesNoColumn(tokens.mid(start, i - start)))
            replaceTruthNumber(tokens, i + 1, end);
        else if (isYesNoColumn(tokens.mid(i + 1, end - i - 1)))
            i -= replaceTruthNumber(tokens, start, i);
    }
}

struct Range
{
    qsizetype from;
    qsizetype to;
};

// The comma-separated items of the parenthesised list that opens at `open`.
QList<Range> listItems(const Tokens &tokens, qsizetype open)
{
    QList<Range> items;
    const qsizetype close = matchingParenthesis(tokens, open, 1);
    if (close < 0)
        return items;
    qsizetype from = open + 1;
    for (qsizetype i = open + 1; i < close; ++i) {
        if (isSymbol(tokens[i], "("))
            i = matchingParenthesis(tokens, i, 1);
        else if (isSymbol(tokens[i], ",")) {
            items.append({from, i});
            from = i + 1;
        }
    }
    items.append({from, close});
    return items;
}

// INSERT INTO T (a, b) VALUES (x, y): each value goes to the column at its place.
void rewriteInsertedTruth(Tokens &tokens)
{
    const qsizetype insert = nextSolid(tokens, -1);
    const qsizetype into = insert < 0 ? -1 : nextSolid(tokens, insert);
    const qsizetype table = into < 0 ? -1 : nextSolid(tokens, into);
    const qsizetype columns = table < 0 ? -1 : nextSolid(tokens, table);
    if (columns < 0 || !is(tokens[insert], "INSERT") || !is(tokens[into], "INTO") || !isSymbol(tokens[columns], "("))
        return;
    const qsizetype columnsEnd = matchingParenthesis(tokens, columns, 1);
    const qsizetype values = columnsEnd < 0 ? -1 : nextSolid(tokens, columnsEnd);
    const qsizetype open = values < 0 ? -1 : nextSolid(tokens, values);
    if (open < 0 || !is(tokens[values], "VALUES") || !isSymbol(tokens[open], "("))
        return;
    const QList<Range> names = listItems(tokens, columns);
    const QList<Range> items = listItems(tokens, open);
    // From the last value, so that the places of the others stay.
    for (qsizetype k = qMin(names.size(), items.size()) - 1; k >= 0; --k)
        if (isYesNoColumn(tokens.mid(names[k].from, names[k].to - names[k].from)))
            replaceTruthNumber(tokens, items[k].from, items[k].to);
}

// The escape character of the patterns the translator writes.
const QChar likeEscape = QLatin1Char('\\');

// A pattern character that is to match only itself.
QString likeLiteral(QChar c)
{
    const bool special = c == QLatin1Char('%') || c == QLatin1Char('_') || c == likeEscape;
    return special ? QString(likeEscape) + c : QString(c);
}

// Jet's * and ? are the standard % and _; [c] is the character c itself. Jet's lists of
// characters and its # (any digit) have no standard form.
std::optional<QString> likePattern(const QString &pattern)
{
    QString standard;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('*')) {
            standard += QLatin1Char('%');
        } else if (c == QLatin1Char('?')) {
            standard += QLatin1Char('_');
        } else if (c == QLatin1Char('[')) {
            if (i + 2 >= pattern.size() || pattern[i + 2] != QLatin1Char(']'))
                return std::nullopt;
            standard += likeLiteral(pattern[i + 1]);
            i += 2;
        } else if (c == QLatin1Char('#')) {
            return std::nullopt;
        } else {
            standard += likeLiteral(c);
        }
    }
    return standard;
}

// A pattern that only the running statement knows (a parameter, a joining) is put into
// the standard form by the engine, with the replacements of likePattern but for [c],
// so a text in it may not hold [ or #.
Tokens standardPattern(const Tokens &jetPattern)
{
    for (const Token &token : jetPattern)
        if (token.kind == Kind::String && (token.text.contains(QLatin1Char('[')) || token.text.contains(QLatin1Char('#'))))
            refuse(QStringLiteral("Like \"%1\"").arg(token.text));
    const std::pair<QString, QString> replacements[] = {{likeEscape, likeLiteral(likeEscape)},
                                                        {QStringLiteral("%"), likeLiteral(QLatin1Char('%'))},
                                                        {QStringLiteral("_"), likeLiteral(QLatin1Char('_'))},
                                                        {QStringLiteral("*"), QStringLiteral("%")},
                                                        {QStringLiteral("?"), QStringLiteral("_")}};
    Tokens pattern = jetPattern;
    for (const auto &[from, to] : replacements) {
        pattern.prepend(symbol("("));
        pattern.prepend(word(QStringLiteral("replace")));
        pattern << symbol(",") << space() << string(from) << symbol(",") << space() << string(to) << symbol(")");
    }
    return pattern;
}

// Like ignores case as Jet's did, and its pattern matches what it matched there.
void translateLike(Tokens &tokens, SqlDialect dialect)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!is(tokens[i], "LIKE"))
            continue;
        if (dialect == SqlDialect::Postgres)
            tokens[i].text = QStringLiteral("ILIKE");
        const qsizetype from = nextSolid(tokens, i);
        const qsizetype end = operandEnd(tokens, i, Extent::Comparand);
        if (from < 0 || from >= end)
            continue;
        const Tokens jetPattern = tokens.mid(from, end - from);
        const bool literal = jetPattern.size() == 1 && jetPattern.first().kind == Kind::String;
        Tokens pattern;
        if (literal) {
            const std::optional<QString> standard = likePattern(jetPattern.first().text);
            if (!standard)
                refuse(QStringLiteral("Like \"%1\"").arg(jetPattern.first().text));
            pattern << string(*standard);
        } else {
            pattern = standardPattern(jetPattern);
        }
        if (!literal || pattern.first().text.contains(likeEscape))
            pattern << space() << word(QStringLiteral("ESCAPE")) << space() << string(likeEscape);
        tokens = tokens.mid(0, from) + pattern + tokens.mid(end);
        i = from + pattern.size() - 1;
    }
}

// Jet's & joins its operands as texts and takes Null for the empty text (|| alone gives
// Null); a number joins as its digits, which PostgreSQL's || does not do by itself.
Tokens asText(const Tokens &operand)
{
    if (operand.isEmpty())
        throw Refusal{tr("Operatorju & v poizvedbi manjka, kaj naj združi.")};
    if (operand.size() == 1 && operand.first().kind == Kind::String)
        return operand;
    return Tokens{word(QStringLiteral("COALESCE")), symbol("("), word(QStringLiteral("CAST")), symbol("(")} + operand
        + Tokens{space(), word(QStringLiteral("AS TEXT")), symbol(")"), symbol(","), space(), string(QString()), symbol(")")};
}

void rewriteConcatenation(Tokens &tokens)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!isSymbol(tokens[i], "&"))
            continue;
        const qsizetype start = operandStart(tokens, i, Extent::Term);
        Tokens joined = asText(trimmed(tokens.mid(start, i - start)));
        qsizetype end = i;
        for (qsizetype ampersand = i; ampersand >= 0 && isSymbol(tokens[ampersand], "&"); ampersand = nextSolid(tokens, end - 1)) {
            end = operandEnd(tokens, ampersand, Extent::Term);
            joined << space() << symbol("||") << space() << asText(trimmed(tokens.mid(ampersand + 1, end - ampersand - 1)));
        }
        tokens = tokens.mid(0, start) + joined + tokens.mid(end);
        // A & inside a parenthesised operand is still to come.
        i = start;
    }
}

bool isTextOperand(const Tokens &tokens, qsizetype i, bool before)
{
    if (i < 0)
        return false;
    if (tokens[i].kind == Kind::String)
        return true;
    if (!isIdentifier(tokens[i]))
        return false;
    // A qualified name: the column is the part after the dot.
    if (!before) {
        const qsizetype dot = nextSolid(tokens, i);
        if (dot >= 0 && isSymbol(tokens[dot], ".")) {
            const qsizetype column = nextSolid(tokens, dot);
            if (column < 0)
                return false;
            i = column;
        }
    }
    const Schema::Column *column = Schema::anyColumn(tokens[i].text);
    return column && column->type == Schema::Type::Text;
}

void translateOperators(Tokens &tokens, SqlDialect dialect)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        Token &token = tokens[i];
        if (is(token, "TRUE") || is(token, "FALSE")) {
            const bool value = is(token, "TRUE");
            token = dialect == SqlDialect::Sqlite ? Token{Kind::Number, value ? QStringLiteral("1") : QStringLiteral("0")}
                                                  : word(value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        } else if (isSymbol(token, "+")) {
            if (isTextOperand(tokens, previousSolid(tokens, i), true) || isTextOperand(tokens, nextSolid(tokens, i), false))
                token.text = QStringLiteral("||");
        }
    }
}

// Every ORDER BY term gets what it takes for the engine to order as the original did:
// SQLite the collation the connection registers (it leaves numbers alone), PostgreSQL
// empty values first when ascending, as the original engine put them.
void decorateOrderBy(Tokens &tokens, SqlDialect dialect)
{
    const qsizetype end = statementEnd(tokens);
    const qsizetype order = findTopLevel(tokens, "ORDER", 0, end);
    const qsizetype by = order < 0 ? -1 : nextSolid(tokens, order);
    if (by < 0 || !is(tokens[by], "BY"))
        return;
    struct Insertion
    {
        qsizetype at;
        Token token;
    };
    QList<Insertion> insertions;
    int depth = 0;
    qsizetype lastSolid = by;
    for (qsizetype i = by + 1; i <= end; ++i) {
        const bool termEnds = i == end || (depth == 0 && isSymbol(tokens[i], ","));
        if (termEnds) {
            const bool descending = is(tokens[lastSolid], "DESC");
            if (dialect == SqlDialect::Sqlite) {
                const qsizetype at = descending || is(tokens[lastSolid], "ASC") ? previousSolid(tokens, lastSolid) + 1
                                                                                 : lastSolid + 1;
                insertions.prepend({at, word(QStringLiteral(" COLLATE ") + QString::fromLatin1(SqliteCollation))});
            } else {
                insertions.prepend({lastSolid + 1, word(descending ? QStringLiteral(" NULLS LAST") : QStringLiteral(" NULLS FIRST"))});
            }
            continue;
        }
        if (isSymbol(tokens[i], "("))
            ++depth;
        else if (isSymbol(tokens[i], ")"))
            --depth;
        if (tokens[i].kind != Kind::Space)
            lastSolid = i;
    }
    for (const Insertion &insertion : std::as_const(insertions))
        tokens.insert(insertion.at, insertion.token);
}

QString render(const Tokens &tokens)
{
    QString sql;
    for (const Token &token : tokens) {
        switch (token.kind) {
        case Kind::String:
            sql += QLatin1Char('\'') + QString(token.text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
            break;
        case Kind::Name: {
            const bool plain = !token.text.isEmpty() && std::all_of(token.text.cbegin(), token.text.cend(), isWordChar)
                && !token.text.front().isDigit();
            sql += plain ? token.text : QLatin1Char('"') + QString(token.text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
            break;
        }
        default:
            sql += token.text;
        }
    }
    return sql;
}

// Functions that mean the same in Jet and on both engines.
bool isCommonFunction(const Token &name)
{
    static const QStringList common{QStringLiteral("Count"), QStringLiteral("Sum"),   QStringLiteral("Avg"),
                                    QStringLiteral("Min"),   QStringLiteral("Max"),   QStringLiteral("Trim"),
                                    QStringLiteral("LTrim"), QStringLiteral("RTrim")};
    return common.contains(name.text, Qt::CaseInsensitive);
}

// What only Jet knows: #date# literals, TOP n, its own functions (IIf, Nz, Mid, ...).
void refuseJetOnly(const Tokens &tokens)
{
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const qsizetype next = nextSolid(tokens, i);
        const qsizetype previous = previousSolid(tokens, i);
        if (isSymbol(tokens[i], "#")) {
            qsizetype close = i + 1;
            while (close < tokens.size() && !isSymbol(tokens[close], "#"))
                ++close;
            refuse(render(tokens.mid(i, close - i + 1)));
        }
        const bool selecting = previous >= 0
            && (is(tokens[previous], "SELECT") || is(tokens[previous], "DISTINCT") || is(tokens[previous], "DISTINCTROW")
                || is(tokens[previous], "ALL"));
        if (is(tokens[i], "TOP") && selecting)
            refuse(render(tokens.mid(i, next < 0 ? -1 : next - i + 1)));
        if (isFunctionCall(tokens, i) && !isCommonFunction(tokens[i]))
            refuse(tokens[i].text + QStringLiteral("()"));
        // Jet's own operators: its remainder rounds, its division by \ truncates, and the
        // engines have no Xor, Eqv or Imp of truth values.
        const bool operand = previous >= 0 && next >= 0 && !isSymbol(tokens[previous], ".") && !isSymbol(tokens[next], ".")
            && !is(tokens[previous], "AS");
        if (isSymbol(tokens[i], "\\") || (tokens[i].kind == Kind::Word && operand
                                             && (is(tokens[i], "MOD") || is(tokens[i], "XOR") || is(tokens[i], "EQV") || is(tokens[i], "IMP"))))
            refuse(tokens[i].text);
    }
}

}

QString translate(const QString &jet, SqlDialect dialect)
{
    try {
        Tokens tokens = tokenize(jet);
        refuseJetOnly(tokens);
        rewriteComparedTruth(tokens);
        rewriteInsertedTruth(tokens);
        rewriteUpdateWithJoin(tokens);
        rewriteDistinctRow(tokens);
        removeDeleteStar(tokens);
        translateLike(tokens, dialect);
        rewriteConcatenation(tokens);
        translateOperators(tokens, dialect);
        decorateOrderBy(tokens, dialect);
        return render(tokens);
    } catch (const Refusal &refusal) {
        throw DatabaseError(refusal.message, jet);
    }
}

namespace {

// Two pieces of a statement that say the same: names without regard to case or brackets.
bool sameTerm(const Tokens &a, const Tokens &b)
{
    Tokens solidA, solidB;
    std::copy_if(a.cbegin(), a.cend(), std::back_inserter(solidA), [](const Token &t) { return t.kind != Kind::Space; });
    std::copy_if(b.cbegin(), b.cend(), std::back_inserter(solidB), [](const Token &t) { return t.kind != Kind::Space; });
    return std::equal(solidA.cbegin(), solidA.cend(), solidB.cbegin(), solidB.cend(), [](const Token &x, const Token &y) {
        if (isIdentifier(x) && isIdentifier(y))
            return x.text.compare(y.text, Qt::CaseInsensitive) == 0;
        return x.kind == y.kind && x.text == y.text;
    });
}

// A term without the parentheses around the whole of it.
Tokens unwrapped(Tokens term)
{
    term = trimmed(term);
    while (term.size() >= 2 && isSymbol(term.first(), "(") && matchingParenthesis(term, 0, 1) == term.size() - 1)
        term = trimmed(term.mid(1, term.size() - 2));
    return term;
}

// The pieces of a list between its commas at the top level.
QList<Tokens> topLevelItems(const Tokens &tokens, qsizetype from, qsizetype to)
{
    QList<Tokens> items;
    int depth = 0;
    qsizetype start = from;
    for (qsizetype i = from; i <= to; ++i) {
        if (i == to || (depth == 0 && isSymbol(tokens[i], ","))) {
            items << tokens.mid(start, i - start);
            start = i + 1;
        } else if (isSymbol(tokens[i], "(")) {
            ++depth;
        } else if (isSymbol(tokens[i], ")")) {
            --depth;
        }
    }
    return items;
}

}

std::optional<Ordering> resultOrdering(const QString &jet)
{
    const Tokens tokens = tokenize(jet);
    const qsizetype select = nextSolid(tokens, -1);
    if (select < 0 || !is(tokens[select], "SELECT"))
        return std::nullopt;
    const qsizetype end = statementEnd(tokens);
    const qsizetype order = findTopLevel(tokens, "ORDER", select, end);
    const qsizetype by = order < 0 ? -1 : nextSolid(tokens, order);
    const qsizetype from = findTopLevel(tokens, "FROM", select, end);
    if (by < 0 || !is(tokens[by], "BY") || from < 0)
        return std::nullopt;
    qsizetype first = nextSolid(tokens, select);
    if (is(tokens[first], "DISTINCTROW") || is(tokens[first], "DISTINCT"))
        first = nextSolid(tokens, first);
    struct Column
    {
        Tokens expression;
        Tokens alias;
    };
    QList<Column> columns;
    for (const Tokens &item : topLevelItems(tokens, first, from)) {
        // "*" or "T.*" stands for columns not counted here: the places of those after it are unknown.
        const Tokens solid = trimmed(item);
        if (!solid.isEmpty() && sameTerm({solid.last()}, {symbol("*")}))
            return std::nullopt;
        const qsizetype as = findTopLevel(item, "AS");
        columns.append(as < 0 ? Column{item, {}} : Column{item.mid(0, as), trimmed(item.mid(as + 1))});
    }
    Ordering ordering;
    for (Tokens term : topLevelItems(tokens, by + 1, end)) {
        term = trimmed(term);
        const bool descending = !term.isEmpty() && is(term.last(), "DESC");
        if (!term.isEmpty() && (descending || is(term.last(), "ASC")))
            term.removeLast();
        term = unwrapped(term);
        qsizetype column = -1;
        if (term.size() == 1 && term.first().kind == Kind::Number)
            column = term.first().text.toInt() - 1;
        for (qsizetype c = 0; c < columns.size() && column < 0; ++c)
            if (sameTerm(term, unwrapped(columns[c].expression)) || (!columns[c].alias.isEmpty() && sameTerm(term, columns[c].alias)))
                column = c;
        // A term that is no column of the result is left to the engine.
        if (column < 0 || column >= columns.size())
            return std::nullopt;
        ordering.columns.append({int(column), descending});
    }
    ordering.unordered = jet.left(tokens[order].start) + (end < tokens.size() ? jet.mid(tokens[end].start) : QString());
    return ordering;
}

QStringList parameters(const QString &jet)
{
    QStringList names;
    for (const Token &token : tokenize(jet))
        if (token.kind == Kind::Parameter && !names.contains(token.text))
            names << token.text;
    return names;
}

}
