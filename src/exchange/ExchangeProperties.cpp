#include "ExchangeProperties.h"

#include <QHash>
#include <QRegularExpression>

namespace {

const QList<std::pair<QString, QString>> &namedProperties()
{
    static const QList<std::pair<QString, QString>> names = {
        {QStringLiteral("NICKNAME"), QStringLiteral("Vzdevek")},     {QStringLiteral("ROLE"), QStringLiteral("Vloga")},
        {QStringLiteral("ANNIVERSARY"), QStringLiteral("Obletnica")}, {QStringLiteral("GENDER"), QStringLiteral("Spol")},
        {QStringLiteral("LANG"), QStringLiteral("Jezik")},
    };
    return names;
}

}

std::pair<QString, QString> NamedValue(const QString &text)
{
    const qsizetype colon = text.indexOf(QStringLiteral(": "));
    if (colon < 0)
        return {QString(), text};
    return {text.left(colon).trimmed(), text.mid(colon + 2)};
}

std::pair<QString, QString> ExtraFieldOfProperty(const CardProperty &property)
{
    if (property.Name.compare(QLatin1String(ExtraProperty), Qt::CaseInsensitive) == 0) {
        const auto [name, value] = NamedValue(property.Value);
        if (!name.isEmpty())
            return {name, value};
    }
    for (const auto &[propertyName, field] : namedProperties()) {
        if (property.Name.compare(propertyName, Qt::CaseInsensitive) == 0)
            return {field, property.Value};
    }
    return {property.Name, property.Value};
}

CardProperty PropertyOfExtraField(const QString &field, const QString &value)
{
    for (const auto &[propertyName, name] : namedProperties()) {
        if (field.compare(name, Qt::CaseInsensitive) == 0)
            return {propertyName, value};
    }
    // A field an import made of a property of its own ("X-ANDROID-CUSTOM") goes back as it.
    static const QRegularExpression propertyName(QStringLiteral("^X-[A-Z0-9-]+$"));
    if (propertyName.match(field).hasMatch())
        return {field, value};
    return {QString::fromLatin1(ExtraProperty), field + QStringLiteral(": ") + value};
}
