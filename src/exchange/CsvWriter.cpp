#include "CsvFormat.h"

#include <QStringEncoder>

#include <algorithm>
#include <utility>

// Google's CSV layout: Google Contacts reads it whole, with as many e-mails, numbers and
// addresses as a card has (its numbered groups, values of one label joined by " ::: "),
// and Outlook's import finds its own names among the headers ("First Name", "Last Name",
// "Nickname", "Birthday", "Notes") and lets the rest be mapped. Outlook's own layout has
// fixed slots (three e-mails, one mobile number) and would lose the rest.

namespace {

const QString Separator = QStringLiteral(" ::: ");
const QString NicknameProperty = QStringLiteral("NICKNAME");

using LabelledValues = QList<std::pair<QString, QStringList>>;

QString telephoneLabel(const CardValue &value)
{
    const QStringList &types = value.Types;
    if (types.contains(u"fax"))
        return types.contains(u"home") ? QStringLiteral("Home Fax")
               : types.contains(u"work") ? QStringLiteral("Work Fax") : QStringLiteral("Fax");
    if (types.contains(u"cell"))
        return QStringLiteral("Mobile");
    if (types.contains(u"pager"))
        return QStringLiteral("Pager");
    if (types.contains(u"home"))
        return QStringLiteral("Home");
    if (types.contains(u"work"))
        return QStringLiteral("Work");
    return QStringLiteral("Other");
}

QString placeLabel(const QStringList &types)
{
    if (types.contains(u"home"))
        return QStringLiteral("Home");
    if (types.contains(u"work"))
        return QStringLiteral("Work");
    return QStringLiteral("Other");
}

// Values of one label in one group, in the order the card has them.
LabelledValues byLabel(const QList<CardValue> &values, QString (*labelOf)(const CardValue &))
{
    LabelledValues groups;
    for (const CardValue &value : values) {
        const QString label = value.Label.isEmpty() ? labelOf(value) : value.Label;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto &g) { return g.first == label; });
        if (group == groups.end())
            groups.append({label, {value.Value}});
        else
            group->second.append(value.Value);
    }
    return groups;
}

LabelledValues customFields(const ContactCard &card)
{
    LabelledValues fields;
    for (const CardProperty &property : card.Extra)
        if (property.Name != NicknameProperty)
            fields.append({property.Name, {property.Value}});
    for (const CardValue &impp : card.Impps)
        fields.append({QStringLiteral("IMPP"), {impp.Value}});
    return fields;
}

struct CardGroups
{
    LabelledValues Emails;
    LabelledValues Telephones;
    LabelledValues Websites;
    LabelledValues Custom;
};

CardGroups groupsOf(const ContactCard &card)
{
    return CardGroups{
        byLabel(card.Emails, [](const CardValue &v) { return placeLabel(v.Types); }),
        byLabel(card.Telephones, telephoneLabel),
        byLabel(card.Urls, [](const CardValue &v) { return v.Types.isEmpty() ? QString() : placeLabel(v.Types); }),
        customFields(card),
    };
}

const QStringList PersonHeaders = {
    QStringLiteral("First Name"), QStringLiteral("Middle Name"), QStringLiteral("Last Name"),
    QStringLiteral("Name Prefix"), QStringLiteral("Name Suffix"), QStringLiteral("Nickname"),
    QStringLiteral("File As"), QStringLiteral("Organization Name"), QStringLiteral("Organization Title"),
    QStringLiteral("Organization Department"), QStringLiteral("Birthday"), QStringLiteral("Notes"),
    QStringLiteral("Labels"),
};

const QStringList AddressParts = {
    QStringLiteral("Label"), QStringLiteral("Street"), QStringLiteral("City"), QStringLiteral("PO Box"),
    QStringLiteral("Region"), QStringLiteral("Postal Code"), QStringLiteral("Country"),
    QStringLiteral("Extended Address"),
};

struct Layout
{
    qsizetype Emails = 0, Telephones = 0, Addresses = 0, Websites = 0, Custom = 0;
};

void appendGroupHeaders(QStringList &headers, const QString &kind, qsizetype count, const QStringList &parts)
{
    for (qsizetype n = 1; n <= count; ++n)
        for (const QString &part : parts)
            headers.append(QStringLiteral("%1 %2 - %3").arg(kind).arg(n).arg(part));
}

QStringList headersFor(const Layout &layout)
{
    const QStringList pair{QStringLiteral("Label"), QStringLiteral("Value")};
    QStringList headers = PersonHeaders;
    appendGroupHeaders(headers, QStringLiteral("E-mail"), layout.Emails, pair);
    appendGroupHeaders(headers, QStringLiteral("Phone"), layout.Telephones, pair);
    appendGroupHeaders(headers, QStringLiteral("Address"), layout.Addresses, AddressParts);
    appendGroupHeaders(headers, QStringLiteral("Website"), layout.Websites, pair);
    appendGroupHeaders(headers, QStringLiteral("Custom Field"), layout.Custom, pair);
    return headers;
}

QString dateText(const CardDate &date)
{
    if (date.isEmpty())
        return {};
    const QLatin1Char zero('0');
    const QString monthDay = QStringLiteral("%1-%2").arg(date.Month, 2, 10, zero).arg(date.Day, 2, 10, zero);
    return date.hasYear() ? QStringLiteral("%1-%2").arg(date.Year, 4, 10, zero).arg(monthDay)
                          : QStringLiteral("--") + monthDay;
}

QString nicknames(const ContactCard &card)
{
    QStringList names;
    for (const CardProperty &property : card.Extra)
        if (property.Name == NicknameProperty)
            names.append(property.Value);
    return names.join(QStringLiteral(", "));
}

void appendPairs(QStringList &row, const LabelledValues &groups, qsizetype count)
{
    for (qsizetype n = 0; n < count; ++n) {
        row.append(n < groups.size() ? groups[n].first : QString());
        row.append(n < groups.size() ? groups[n].second.join(Separator) : QString());
    }
}

void appendAddresses(QStringList &row, const QList<CardAddress> &addresses, qsizetype count)
{
    for (qsizetype n = 0; n < count; ++n) {
        if (n >= addresses.size()) {
            for (qsizetype part = 0; part < AddressParts.size(); ++part)
                row.append(QString());
            continue;
        }
        const CardAddress &a = addresses[n];
        row << placeLabel(a.Types) << a.Street << a.Locality << a.PostOfficeBox << a.Region << a.PostalCode
            << a.Country << a.Extended;
    }
}

QStringList rowFor(const ContactCard &card, const CardGroups &groups, const Layout &layout)
{
    QStringList row{card.Name.Given, card.Name.Additional, card.Name.Family, card.Name.Prefix,
                    card.Name.Suffix, nicknames(card), card.FormattedName, card.Organisation,
                    card.Title, card.Department, dateText(card.Birthday), card.Notes.join(u'\n'),
                    card.Categories.join(Separator)};
    appendPairs(row, groups.Emails, layout.Emails);
    appendPairs(row, groups.Telephones, layout.Telephones);
    appendAddresses(row, card.Addresses, layout.Addresses);
    appendPairs(row, groups.Websites, layout.Websites);
    appendPairs(row, groups.Custom, layout.Custom);
    return row;
}

QString quoted(const QString &field)
{
    const bool needsQuotes = field.contains(u',') || field.contains(u'"') || field.contains(u'\n')
                             || field.contains(u'\r') || field.startsWith(u' ') || field.endsWith(u' ');
    if (!needsQuotes)
        return field;
    QString escaped = field;
    return u'"' + escaped.replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QString csvLine(const QStringList &fields)
{
    QStringList quotedFields;
    quotedFields.reserve(fields.size());
    for (const QString &field : fields)
        quotedFields.append(quoted(field));
    return quotedFields.join(u',') + QStringLiteral("\r\n");
}

}

QByteArray WriteCsv(const QList<ContactCard> &cards)
{
    QList<CardGroups> groups;
    Layout layout;
    for (const ContactCard &card : cards) {
        groups.append(groupsOf(card));
        const CardGroups &g = groups.last();
        layout.Emails = qMax(layout.Emails, g.Emails.size());
        layout.Telephones = qMax(layout.Telephones, g.Telephones.size());
        layout.Addresses = qMax(layout.Addresses, card.Addresses.size());
        layout.Websites = qMax(layout.Websites, g.Websites.size());
        layout.Custom = qMax(layout.Custom, g.Custom.size());
    }
    QString text = csvLine(headersFor(layout));
    for (qsizetype i = 0; i < cards.size(); ++i)
        text += csvLine(rowFor(cards[i], groups[i], layout));
    // Spreadsheets take a file without a BOM for their own code page.
    QStringEncoder utf8(QStringEncoder::Utf8, QStringEncoder::Flag::WriteBom);
    return utf8(text);
}
