#include "NameRules.h"

#include <algorithm>

QString CapitaliseName(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return text;
    const QString capitalised = trimmed.left(1).toUpper() + trimmed.mid(1).toLower();
    return capitalised == trimmed ? text : capitalised;
}

QString ComposeFullName(const QString &title, const QString &first, const QString &middle, const QString &surname)
{
    const QString joined = QString(title + QLatin1Char(' ') + first + QLatin1Char(' ') + middle + QLatin1Char(' ') + surname).trimmed();
    // One pass: "a    b" becomes "a  b", not "a b".
    QString result;
    result.reserve(joined.size());
    for (qsizetype i = 0; i < joined.size(); ++i) {
        result += joined[i];
        if (joined[i] == QLatin1Char(' ') && i + 1 < joined.size() && joined[i + 1] == QLatin1Char(' '))
            ++i;
    }
    return result;
}

bool CheckAccountNumber(const QString &account)
{
    QString digits = account;
    digits.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
    digits = digits.trimmed();
    if (digits.isEmpty())
        return true;
    if (digits.size() != 15 || !std::all_of(digits.cbegin(), digits.cend(), [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
        return false;
    return digits.toLongLong() % 97 == 1;
}
