#include "CsvFormat.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QString GoogleSeparator = QStringLiteral(" ::: ");

// Types as Google's "- Type" and "- Label" columns give them; "* " marks the primary one.
struct GivenTypes
{
    QStringList Types;
    QString Label;
    bool Given = false;
};

GivenTypes typesFromText(QString text)
{
    GivenTypes given;
    if (text.isEmpty())
        return given;
    given.Given = true;
    if (text.startsWith(u"* ")) {
        given.Types.append(QStringLiteral("pref"));
        text = text.mid(2).trimmed();
    }
    static const QHash<QString, QStringList> known = {
        {QStringLiteral("home"), {QStringLiteral("home")}},
        {QStringLiteral("work"), {QStringLiteral("work")}},
        {QStringLiteral("mobile"), {QStringLiteral("cell")}},
        {QStringLiteral("fax"), {QStringLiteral("fax")}},
        {QStringLiteral("home fax"), {QStringLiteral("fax"), QStringLiteral("home")}},
        {QStringLiteral("work fax"), {QStringLiteral("fax"), QStringLiteral("work")}},
        {QStringLiteral("other fax"), {QStringLiteral("fax")}},
        {QStringLiteral("pager"), {QStringLiteral("pager")}},
        {QStringLiteral("other"), {}},
    };
    if (const auto found = known.constFind(text.toLower()); found != known.constEnd())
        given.Types = *found + given.Types;
    else
        given.Label = text;
    return given;
}

QStringList defaultTypes(CardField field)
{
    switch (field) {
    case CardField::EmailHome:
    case CardField::PhoneHome:
        return {QStringLiteral("home")};
    case CardField::EmailWork:
    case CardField::PhoneWork:
        return {QStringLiteral("work")};
    case CardField::PhoneMobile:
        return {QStringLiteral("cell")};
    case CardField::PhoneFax:
        return {QStringLiteral("fax")};
    case CardField::PhonePager:
        return {QStringLiteral("pager")};
    default:
        return {};
    }
}

bool isWorkAddress(CardField field)
{
    return field >= CardField::WorkStreet && field <= CardField::WorkCountry;
}

bool isAddress(CardField field)
{
    return field >= CardField::HomeStreet && field <= CardField::WorkCountry;
}

void appendText(QString &to, const QString &text, const QString &separator)
{
    to = to.isEmpty() ? text : to + separator + text;
}

// Google joins its labels by " ::: " and a label may hold a comma; others use , or ;.
QStringList splitCategories(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    const QStringList parts = text.contains(GoogleSeparator) ? text.split(GoogleSeparator)
                                                              : text.split(separators);
    QStringList categories;
    for (const QString &part : parts) {
        const QString category = part.trimmed();
        // Google's own groups ("* myContacts", "* starred") are no one's categories.
        if (!category.isEmpty() && !category.startsWith(u"* ") && !categories.contains(category))
            categories.append(category);
    }
    return categories;
}

int fullYear(const QString &digits)
{
    const int year = digits.toInt();
    if (digits.size() != 2)
        return year;
    // A two-digit year of a birthday is in the past.
    const int thisCentury = QDate::currentDate().year() / 100 * 100;
    return thisCentury + year > QDate::currentDate().year() ? thisCentury - 100 + year : thisCentury + year;
}

CardDate validDate(int year, int month, int day)
{
    // A year-less date may be 29 February.
    if (!QDate(year ? year : 2000, month, day).isValid())
        return {};
    return CardDate{year, month, day};
}

// Outlook writes this for a date it does not have.
bool isNoDate(const QString &text)
{
    return text == u"0/0/00" || text == u"0/0/0000";
}

struct RowColumns
{
    QList<CardField> Mapping;
    QStringList Headers; // empty without a header row
    QStringList Groups;  // Google's "E-mail 1" of "E-mail 1 - Value"; empty outside them
};

QString groupOf(const QString &header)
{
    const qsizetype dash = header.indexOf(QStringLiteral(" - "));
    return dash < 0 ? QString() : header.left(dash).trimmed().toLower();
}

// A row turned into a card, column by column.
class CardBuilder
{
public:
    CardBuilder(const RowColumns &columns, const CsvRow &row)
        : m_columns(columns)
        , m_row(row)
    {
        m_card.Line = row.Line;
        collectGroupTypes();
    }

    bool build()
    {
        const qsizetype count = qMin(m_columns.Mapping.size(), m_row.Fields.size());
        for (qsizetype column = 0; column < count; ++column)
            take(column, m_row.Fields[column].trimmed());
        finishBirthday();
        finishAddresses();
        m_card.IsOrganisation = !m_card.Organisation.isEmpty() && m_card.Name.Given.isEmpty()
                                && m_card.Name.Family.isEmpty() && m_card.FormattedName.isEmpty();
        return m_filled;
    }

    const ContactCard &card() const { return m_card; }

private:
    void collectGroupTypes()
    {
        const qsizetype count = qMin(m_columns.Mapping.size(), m_row.Fields.size());
        for (qsizetype column = 0; column < count; ++column)
            if (m_columns.Mapping[column] == CardField::ValueTypes && !group(column).isEmpty())
                m_groupTypes.insert(group(column), typesFromText(m_row.Fields[column].trimmed()));
    }

    QString group(qsizetype column) const { return m_columns.Groups.value(column); }
    GivenTypes groupTypes(qsizetype column) const { return m_groupTypes.value(group(column)); }

    QString header(qsizetype column) const
    {
        const QString header = m_columns.Headers.value(column).trimmed();
        return header.isEmpty() ? QStringLiteral("Stolpec %1").arg(column + 1) : header;
    }

    // Google's "Custom Field 1 - Value" is named by its "Custom Field 1 - Label".
    QString extraName(qsizetype column) const
    {
        const QString label = groupTypes(column).Label;
        const bool valueColumn = header(column).endsWith(QStringLiteral(" - value"), Qt::CaseInsensitive);
        return valueColumn && !label.isEmpty() ? label : header(column);
    }

    void keepExtra(const QString &name, const QString &value)
    {
        m_card.Extra.append(CardProperty{name, value});
    }

    void take(qsizetype column, const QString &value)
    {
        const CardField field = m_columns.Mapping[column];
        if (value.isEmpty() || field == CardField::None || field == CardField::ValueTypes)
            return;
        if (isNoDate(value) && (field == CardField::Birthday || field == CardField::Extra))
            return;
        m_filled = true;
        if (isAddress(field))
            return takeAddressPart(column, field, value);
        switch (field) {
        case CardField::GivenName: return appendText(m_card.Name.Given, value, QStringLiteral(" "));
        case CardField::AdditionalName: return appendText(m_card.Name.Additional, value, QStringLiteral(" "));
        case CardField::FamilyName: return appendText(m_card.Name.Family, value, QStringLiteral(" "));
        case CardField::NamePrefix: return appendText(m_card.Name.Prefix, value, QStringLiteral(" "));
        case CardField::NameSuffix: return appendText(m_card.Name.Suffix, value, QStringLiteral(" "));
        case CardField::FullName: return appendText(m_card.FormattedName, value, QStringLiteral(" "));
        case CardField::Organisation: return appendText(m_card.Organisation, value, QStringLiteral(", "));
        case CardField::Department: return appendText(m_card.Department, value, QStringLiteral(", "));
        case CardField::JobTitle: return appendText(m_card.Title, value, QStringLiteral(", "));
        case CardField::Nickname: return keepExtra(QStringLiteral("NICKNAME"), value);
        case CardField::Notes: return m_card.Notes.append(value);
        case CardField::EmailHome:
        case CardField::EmailWork:
        case CardField::EmailOther: return takeValues(m_card.Emails, column, field, value);
        case CardField::PhoneMobile:
        case CardField::PhoneHome:
        case CardField::PhoneWork:
        case CardField::PhoneFax:
        case CardField::PhonePager:
        case CardField::PhoneOther: return takeValues(m_card.Telephones, column, field, value);
        case CardField::WebPage: return takeValues(m_card.Urls, column, field, value);
        case CardField::Birthday: return takeBirthday(column, value);
        case CardField::BirthYear: return takeBirthPart(m_birthYear, column, value);
        case CardField::BirthMonth: return takeBirthPart(m_birthMonth, column, value);
        case CardField::BirthDay: return takeBirthPart(m_birthDay, column, value);
        case CardField::Categories:
            for (const QString &category : splitCategories(value))
                if (!m_card.Categories.contains(category))
                    m_card.Categories.append(category);
            return;
        default:
            return keepExtra(extraName(column), value);
        }
    }

    void takeValues(QList<CardValue> &into, qsizetype column, CardField field, const QString &value)
    {
        const GivenTypes given = groupTypes(column);
        const QStringList types = given.Given ? given.Types : defaultTypes(field);
        for (const QString &part : value.split(GoogleSeparator, Qt::SkipEmptyParts))
            if (const QString entry = part.trimmed(); !entry.isEmpty())
                into.append(CardValue{entry, types, given.Label});
    }

    void takeBirthday(qsizetype column, const QString &value)
    {
        const CardDate date = ParseSpreadsheetDate(value);
        if (date.isEmpty())
            keepExtra(header(column), value); // not a date we read; kept as written
        else
            m_card.Birthday = date;
    }

    void takeBirthPart(QString &part, qsizetype column, const QString &value)
    {
        part = value;
        m_birthParts.append(CardProperty{header(column), value});
    }

    void finishBirthday()
    {
        if (m_birthParts.isEmpty())
            return;
        bool monthOk = false, dayOk = false, yearOk = m_birthYear.isEmpty();
        const int month = m_birthMonth.toInt(&monthOk);
        const int day = m_birthDay.toInt(&dayOk);
        const int year = m_birthYear.isEmpty() ? 0 : m_birthYear.toInt(&yearOk);
        const CardDate date = monthOk && dayOk && yearOk ? validDate(year, month, day) : CardDate{};
        if (!date.isEmpty()) {
            m_card.Birthday = date;
            return;
        }
        m_card.Extra.append(m_birthParts); // not a date; kept as written
    }

    // Outlook's "Home Street 2" continues the home street; Google's "Address 2 - Street"
    // is another address, of the type its "- Type" column gives.
    void takeAddressPart(qsizetype column, CardField field, const QString &value)
    {
        const QString key = group(column) + (isWorkAddress(field) ? u'w' : u'h');
        if (!m_addresses.contains(key)) {
            m_addressOrder.append(key);
            const GivenTypes given = groupTypes(column);
            const QString kind = isWorkAddress(field) ? QStringLiteral("work") : QStringLiteral("home");
            QStringList types = given.Given ? given.Types : QStringList{kind};
            types.removeAll(QStringLiteral("pref"));
            m_addresses[key].Types = types;
        }
        CardAddress &address = m_addresses[key];
        switch (field) {
        case CardField::HomeStreet:
        case CardField::WorkStreet: return appendText(address.Street, value, QStringLiteral(", "));
        case CardField::HomePostOfficeBox:
        case CardField::WorkPostOfficeBox: return appendText(address.PostOfficeBox, value, QStringLiteral(" "));
        case CardField::HomeLocality:
        case CardField::WorkLocality: return appendText(address.Locality, value, QStringLiteral(" "));
        case CardField::HomeRegion:
        case CardField::WorkRegion: return appendText(address.Region, value, QStringLiteral(" "));
        case CardField::HomePostalCode:
        case CardField::WorkPostalCode: return appendText(address.PostalCode, value, QStringLiteral(" "));
        default: return appendText(address.Country, value, QStringLiteral(" "));
        }
    }

    // A Slovenian "Pošta" column holds "1000 Ljubljana": the post office number and place.
    static void splitPostOffice(CardAddress &address)
    {
        static const QRegularExpression postOffice(QStringLiteral("^(\\d{4})\\s+(\\D.*)$"));
        if (!address.PostalCode.isEmpty())
            return;
        if (const auto match = postOffice.match(address.Locality); match.hasMatch()) {
            address.PostalCode = match.captured(1);
            address.Locality = match.captured(2);
        }
    }

    void finishAddresses()
    {
        for (const QString &key : std::as_const(m_addressOrder)) {
            CardAddress address = m_addresses.value(key);
            splitPostOffice(address);
            m_card.Addresses.append(address);
        }
    }

    const RowColumns &m_columns;
    const CsvRow &m_row;
    ContactCard m_card;
    QHash<QString, GivenTypes> m_groupTypes;
    QHash<QString, CardAddress> m_addresses;
    QStringList m_addressOrder;
    QString m_birthYear, m_birthMonth, m_birthDay;
    QList<CardProperty> m_birthParts;
    bool m_filled = false;
};

qsizetype filledFieldCount(const QStringList &fields)
{
    qsizetype count = fields.size();
    while (count > 0 && fields[count - 1].trimmed().isEmpty())
        --count;
    return count;
}

}

CardDate ParseSpreadsheetDate(const QString &text)
{
    static const QRegularExpression dotted(
        QStringLiteral("^(\\d{1,2})\\.\\s*(\\d{1,2})\\.(?:\\s*(\\d{4}|\\d{2})\\.?)?$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[T ].*)?$"));
    static const QRegularExpression basic(QStringLiteral("^(\\d{4})(\\d{2})(\\d{2})$"));
    static const QRegularExpression noYear(QStringLiteral("^--(\\d{2})-?(\\d{2})$"));
    static const QRegularExpression slashed(
        QStringLiteral("^(\\d{1,2})/(\\d{1,2})/(\\d{4}|\\d{2})(?: .*)?$"));
    const QString date = text.trimmed();
    if (auto m = dotted.match(date); m.hasMatch())
        return validDate(m.captured(3).isEmpty() ? 0 : fullYear(m.captured(3)), m.captured(2).toInt(),
                         m.captured(1).toInt());
    if (auto m = iso.match(date); m.hasMatch())
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (auto m = basic.match(date); m.hasMatch())
        return validDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (auto m = noYear.match(date); m.hasMatch())
        return validDate(0, m.captured(1).toInt(), m.captured(2).toInt());
    if (auto m = slashed.match(date); m.hasMatch())
        return validDate(fullYear(m.captured(3)), m.captured(1).toInt(), m.captured(2).toInt());
    return {};
}

ReadCards CardsFromTable(const CsvTable &table, const QList<CardField> &mapping, bool firstRowIsHeader)
{
    ReadCards read;
    read.Problems = table.Problems;
    RowColumns columns{mapping, {}, {}};
    qsizetype firstRow = 0;
    if (firstRowIsHeader && !table.Rows.isEmpty()) {
        columns.Headers = table.Rows.first().Fields;
        for (const QString &header : std::as_const(columns.Headers))
            columns.Groups.append(groupOf(header));
        firstRow = 1;
    }
    // The first row gives the table its width, header or not.
    const qsizetype columnCount = table.Rows.isEmpty() ? 0 : table.Rows.first().Fields.size();
    for (qsizetype i = firstRow; i < table.Rows.size(); ++i) {
        const CsvRow &row = table.Rows[i];
        if (const qsizetype filled = filledFieldCount(row.Fields); filled > columnCount) {
            const QString reason = firstRowIsHeader
                ? QStringLiteral("Vrstica ima več polj (%1), kot je stolpcev v glavi (%2); ni uvožena.")
                : QStringLiteral("Vrstica ima več polj (%1), kot jih ima prva vrstica (%2); ni uvožena.");
            read.Problems.append(CardProblem{row.Line, reason.arg(filled).arg(columnCount)});
            continue;
        }
        CardBuilder builder(columns, row);
        if (builder.build())
            read.Cards.append(builder.card());
    }
    std::stable_sort(read.Problems.begin(), read.Problems.end(),
                     [](const CardProblem &a, const CardProblem &b) { return a.Line < b.Line; });
    return read;
}

ReadCards ReadCsv(const QByteArray &bytes)
{
    const CsvTable table = ReadCsvTable(bytes);
    const QStringList headers = table.Rows.isEmpty() ? QStringList() : table.Rows.first().Fields;
    return CardsFromTable(table, RecognizeHeaders(headers), true);
}
