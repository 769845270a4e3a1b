#include "ColumnValue.h"

#include <QDateTime>
#include <QLocale>

#include <cmath>
#include <limits>

namespace ColumnValue {

namespace {

std::optional<double> numberOf(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1.0 : 0.0;
    if (isNumber(value))
        return value.toDouble();
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const double number = QLocale::c().toDouble(value.toString().trimmed(), &ok);
        if (ok)
            return number;
    }
    return std::nullopt;
}

std::optional<QVariant> wholeNumber(const QVariant &value)
{
    if (isWholeNumber(value))
        return QVariant(value.toLongLong());
    if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
        return QVariant();
    const std::optional<double> number = numberOf(value);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    // Jet rounds a fraction to the even neighbour, as the default rounding mode does.
    const double rounded = std::nearbyint(*number);
    if (std::abs(rounded) > double(std::numeric_limits<qint32>::max()) + 1)
        return std::nullopt;
    return QVariant(qint64(rounded));
}

std::optional<QVariant> yesNo(const QVariant &value)
{
    if (value.typeId() == QMetaType::Bool)
        return value;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        for (const char *yes : {"True", "Yes", "On"})
            if (text.compare(QLatin1String(yes), Qt::CaseInsensitive) == 0)
                return QVariant(true);
        for (const char *no : {"False", "No", "Off", ""})
            if (text.compare(QLatin1String(no), Qt::CaseInsensitive) == 0)
                return QVariant(false);
    }
    const std::optional<double> number = numberOf(value);
    if (!number)
        return std::nullopt;
    return QVariant(*number != 0);
}

std::optional<QVariant> text(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value;
    case QMetaType::Bool:
        // As the person table keeps its company flag.
        return QVariant(value.toBool() ? QStringLiteral("True") : QStringLiteral("False"));
    case QMetaType::QDateTime:
        return QVariant(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    case QMetaType::Double:
    case QMetaType::Float:
        return QVariant(QString::number(value.toDouble(), 'g', std::numeric_limits<double>::max_digits10));
    default:
        if (isNumber(value))
            return QVariant(value.toString());
        return std::nullopt;
    }
}

}

bool isWholeNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

bool isNumber(const QVariant &value)
{
    return isWholeNumber(value) || value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float;
}

std::optional<QVariant> convert(const Schema::Column &column, const QVariant &value)
{
    if (value.isNull())
        return QVariant();
    switch (column.type) {
    case Schema::Type::AutoNumber:
    case Schema::Type::Long:
    case Schema::Type::Byte:
        return wholeNumber(value);
    case Schema::Type::Double:
        if (value.typeId() == QMetaType::QString && value.toString().trimmed().isEmpty())
            return QVariant();
        if (const std::optional<double> number = numberOf(value))
            return QVariant(*number);
        return std::nullopt;
    case Schema::Type::YesNo:
        return yesNo(value);
    case Schema::Type::DateTime:
        if (value.typeId() == QMetaType::QDateTime && value.toDateTime().isValid())
            return value;
        return std::nullopt;
    case Schema::Type::Text:
        return text(value);
    }
    return std::nullopt;
}

}
