#include "CsvMappingDialog.h"

#include "ButtonStrip.h"
#include "FlatButton.h"
#include "Registry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace {

const QString Key = QStringLiteral("Software\\Veldra\\Uvoz");

int columnCount(const CsvTable &table)
{
    qsizetype columns = 0;
    for (qsizetype i = 0; i < table.Rows.size() && i <= CsvMappingDialog::ShownRows; ++i)
        columns = qMax(columns, table.Rows[i].Fields.size());
    return int(columns);
}

// The mapping the user chose for these headers last time, if any.
std::optional<QList<CardField>> rememberedMapping(const QStringList &headers)
{
    if (Registry::readString(Key, QStringLiteral("CsvGlava")) != headers.join(QLatin1Char('\t')))
        return std::nullopt;
    QList<CardField> mapping;
    const QList<CardField> known = AllCardFields();
    for (const QString &number : Registry::readString(Key, QStringLiteral("CsvPolja")).split(QLatin1Char(','))) {
        bool ok = false;
        const int value = number.toInt(&ok);
        if (!ok || !known.contains(CardField(value)))
            return std::nullopt;
        mapping << CardField(value);
    }
    return mapping.size() == headers.size() ? std::optional(mapping) : std::nullopt;
}

}

CsvMappingDialog::CsvMappingDialog(const CsvTable &table, const QString &fileName, QWidget *parent)
    : QDialog(parent)
    , m_table(table)
{
    setObjectName(QStringLiteral("FCsvPolja"));
    setWindowTitle(tr("Uvoz datoteke CSV"));
    resize(760, 420);
    if (!table.Rows.isEmpty())
        m_headers = table.Rows.first().Fields;
    const int columns = columnCount(table);
    while (m_headers.size() < columns)
        m_headers << QString();

    auto *layout = new QVBoxLayout(this);
    auto *explanation = new QLabel(tr("Izberite, kateri podatek osebe je v posameznem stolpcu datoteke %1.").arg(fileName), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);
    HeaderRow = new QCheckBox(tr("Prva vrstica so imena stolpcev"), this);
    HeaderRow->setObjectName(QStringLiteral("HeaderRow"));
    layout->addWidget(HeaderRow);

    Rows = new QTableWidget(this);
    Rows->setObjectName(QStringLiteral("Rows"));
    Rows->setColumnCount(columns);
    Rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    layout->addWidget(Rows, 1);

    const QList<CardField> recognised = RecognizeHeaders(m_headers);
    const std::optional<QList<CardField>> remembered = rememberedMapping(m_headers);
    const QList<CardField> initial = remembered ? *remembered : recognised;
    // A header row names at least one field the program knows.
    const bool looksLikeHeader = std::any_of(recognised.cbegin(), recognised.cend(),
                                             [](CardField field) { return field != CardField::None && field != CardField::Extra; });
    HeaderRow->setChecked(remembered || looksLikeHeader);

    Rows->setRowCount(1);
    Rows->setVerticalHeaderItem(0, new QTableWidgetItem(tr("Podatek")));
    for (int column = 0; column < columns; ++column) {
        auto *field = new QComboBox(Rows);
        field->setObjectName(QStringLiteral("Field%1").arg(column));
        for (const CardField choice : AllCardFields())
            field->addItem(CardFieldName(choice), int(choice));
        const CardField chosen = column < initial.size() ? initial[column] : CardField::None;
        field->setCurrentIndex(field->findData(int(chosen)));
        Rows->setCellWidget(0, column, field);
        Fields << field;
    }
    showRows();
    connect(HeaderRow, &QCheckBox::toggled, this, &CsvMappingDialog::showRows);

    auto *strip = new ButtonStrip(this);
    strip->addStretch();
    FlatButton *ok = strip->addButton("BitBtn1", tr("&Uvozi"));
    FlatButton *cancel = strip->addButton("BitBtn2", tr("&Prekliči"));
    layout->addWidget(strip);
    connect(ok, &FlatButton::clicked, this, &QDialog::accept);
    connect(cancel, &FlatButton::clicked, this, &QDialog::reject);
}

void CsvMappingDialog::showRows()
{
    const int first = HeaderRow->isChecked() ? 1 : 0;
    const int shown = int(qMin<qsizetype>(ShownRows, qMax<qsizetype>(0, m_table.Rows.size() - first)));
    Rows->setRowCount(1 + shown);
    // The file's own names of the columns above the fields chosen for them.
    QStringList captions;
    for (int column = 0; column < Rows->columnCount(); ++column)
        captions << (HeaderRow->isChecked() && !m_headers.value(column).isEmpty() ? m_headers.value(column) : QString::number(column + 1));
    Rows->setHorizontalHeaderLabels(captions);
    for (int row = 0; row < shown; ++row) {
        const CsvRow &source = m_table.Rows[first + row];
        Rows->setVerticalHeaderItem(row + 1, new QTableWidgetItem(QString::number(source.Line)));
        for (int column = 0; column < Rows->columnCount(); ++column)
            Rows->setItem(row + 1, column, new QTableWidgetItem(source.Fields.value(column)));
    }
}

QList<CardField> CsvMappingDialog::mapping() const
{
    QList<CardField> fields;
    for (const QComboBox *field : Fields)
        fields << CardField(field->currentData().toInt());
    return fields;
}

bool CsvMappingDialog::firstRowIsHeader() const
{
    return HeaderRow->isChecked();
}

void CsvMappingDialog::remember() const
{
    QStringList numbers;
    for (const CardField field : mapping())
        numbers << QString::number(int(field));
    Registry::writeString(Key, QStringLiteral("CsvGlava"), m_headers.join(QLatin1Char('\t')));
    Registry::writeString(Key, QStringLiteral("CsvPolja"), numbers.join(QLatin1Char(',')));
}
