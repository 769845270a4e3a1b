#include "DatasetBinder.h"

#include "Dataset.h"
#include "Schema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <memory>

namespace {

int lengthLimit(const Dataset *dataset, const QString &field)
{
    const Schema::Table *table = Schema::table(dataset->updateTable());
    const Schema::Column *column = table ? table->column(field) : Schema::anyColumn(field);
    return column && column->type == Schema::Type::Text && column->size > 0 ? column->size : 0;
}

}

DatasetBinder::DatasetBinder(Dataset *dataset, QObject *parent)
    : QObject(parent)
    , m_dataset(dataset)
{
    connect(dataset, &Dataset::currentChanged, this, &DatasetBinder::refresh);
    connect(dataset, &Dataset::stateChanged, this, &DatasetBinder::updateEnabled);
    connect(dataset, &Dataset::currentValuesChanged, this, &DatasetBinder::showField);
}

void DatasetBinder::add(QWidget *widget, const QString &field, std::function<void(const QVariant &)> show)
{
    m_bindings.push_back({widget, field, std::move(show)});
    const Binding &binding = m_bindings.back();
    binding.widget->setEnabled(m_dataset->isOpen() && m_dataset->recNo() > 0);
    const QSignalBlocker blocker(widget);
    binding.show(m_dataset->value(field));
}

void DatasetBinder::write(QWidget *source, const QString &field, const QVariant &value)
{
    m_writing = source;
    m_dataset->setValue(field, value);
    m_writing = nullptr;
    Q_EMIT userEdited(field);
}

void DatasetBinder::refresh()
{
    updateEnabled();
    for (const Binding &binding : m_bindings) {
        // The widget the user is typing in already shows what it should.
        if (!binding.widget || binding.widget == m_writing)
            continue;
        const QSignalBlocker blocker(binding.widget.data());
        binding.show(m_dataset->value(binding.field));
    }
}

void DatasetBinder::updateEnabled()
{
    const bool hasRow = m_dataset->isOpen() && m_dataset->recNo() > 0;
    for (const Binding &binding : m_bindings)
        if (binding.widget)
            binding.widget->setEnabled(hasRow);
}

void DatasetBinder::showField(int field)
{
    const QString name = m_dataset->fieldName(field);
    for (const Binding &binding : m_bindings) {
        // The widget the user is typing in already shows the value.
        if (!binding.widget || binding.widget == m_writing || binding.field.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QSignalBlocker blocker(binding.widget.data());
        binding.show(m_dataset->value(field));
    }
}

void DatasetBinder::bind(QLineEdit *edit, const QString &field, int options)
{
    if (const int limit = lengthLimit(m_dataset, field))
        edit->setMaxLength(limit);
    add(edit, field, [edit](const QVariant &value) { edit->setText(value.toString()); });
    connect(edit, &QLineEdit::textEdited, this, [this, edit, field, options](QString text) {
        if (options & UpperCase) {
            const int cursor = edit->cursorPosition();
            text = text.toUpper();
            edit->setText(text);
            edit->setCursorPosition(cursor);
        }
        const bool nothingTyped = (options & MaskedText)
            && std::none_of(text.cbegin(), text.cend(), [](QChar c) { return c.isLetterOrNumber(); });
        write(edit, field, nothingTyped ? QVariant() : QVariant(text));
    });
}

void DatasetBinder::bind(QPlainTextEdit *edit, const QString &field)
{
    add(edit, field, [edit](const QVariant &value) { edit->setPlainText(value.toString()); });
    connect(edit, &QPlainTextEdit::textChanged, this, [this, edit, field] { write(edit, field, edit->toPlainText()); });
}

void DatasetBinder::bind(QCheckBox *box, const QString &field, const QVariant &checked, const QVariant &unchecked)
{
    add(box, field, [box, checked](const QVariant &value) {
        const bool on = checked.typeId() == QMetaType::QString ? value.toString().compare(checked.toString(), Qt::CaseInsensitive) == 0
                                                                  : (!value.isNull() && value.toBool());
        box->setChecked(on);
    });
    connect(box, &QCheckBox::toggled, this, [this, box, field, checked, unchecked](bool on) {
        write(box, field, on ? checked : unchecked);
    });
}

void DatasetBinder::bind(QComboBox *combo, const QString &field)
{
    if (combo->lineEdit() && lengthLimit(m_dataset, field))
        combo->lineEdit()->setMaxLength(lengthLimit(m_dataset, field));
    add(combo, field, [combo](const QVariant &value) { combo->setEditText(value.toString()); });
    // What the user types, or chooses from the list.
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, combo, field](const QString &text) { write(combo, field, text); });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) { write(combo, field, combo->itemText(index)); });
}

QHash<qint64, int> DatasetBinder::fillLookup(QComboBox *combo, Dataset *lookup, const QString &keyField,
                                             const QStringList &displayFields, const QString &emptyText)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    QHash<qint64, int> positions;
    if (!emptyText.isEmpty())
        combo->addItem(emptyText, QVariant());
    if (!lookup->isOpen())
        return positions;
    const int key = lookup->fieldIndex(keyField);
    QList<int> display;
    for (const QString &name : displayFields)
        display << lookup->fieldIndex(name);
    QStringList texts;
    for (int recNo = 1; recNo <= lookup->recordCount(); ++recNo) {
        QStringList parts;
        for (int f : display)
            parts << lookup->valueAt(recNo, f).toString();
        texts << parts.join(QLatin1Char(' ')).trimmed();
    }
    combo->addItems(texts);
    for (int recNo = 1; recNo <= lookup->recordCount(); ++recNo) {
        const int index = recNo - 1 + (emptyText.isEmpty() ? 0 : 1);
        const QVariant value = lookup->valueAt(recNo, key);
        combo->setItemData(index, value);
        positions.insert(value.toLongLong(), index);
    }
    return positions;
}

void DatasetBinder::bind(QComboBox *combo, const QString &field, Dataset *lookup, const QString &keyField,
                         const QStringList &displayFields, const QString &emptyText)
{
    // A list can hold thousands of companies: their places are kept for showing a value.
    auto positions = std::make_shared<QHash<qint64, int>>(fillLookup(combo, lookup, keyField, displayFields, emptyText));
    const bool hasEmpty = !emptyText.isEmpty();
    const auto show = [combo, positions, hasEmpty](const QVariant &value) {
        if (value.isNull()) {
            combo->setCurrentIndex(hasEmpty ? 0 : -1);
            return;
        }
        combo->setCurrentIndex(positions->value(value.toLongLong(), -1));
    };
    add(combo, field, show);
    connect(lookup, &Dataset::rowsReset, combo, [this, combo, lookup, keyField, displayFields, emptyText, field, show, positions] {
        *positions = fillLookup(combo, lookup, keyField, displayFields, emptyText);
        const QSignalBlocker blocker(combo);
        show(m_dataset->value(field));
    });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) {
        write(combo, field, index < 0 ? QVariant() : combo->itemData(index));
    });
}

void DatasetBinder::bindChoice(QComboBox *combo, const QString &field)
{
    add(combo, field, [combo](const QVariant &value) { combo->setCurrentIndex(value.isNull() ? -1 : combo->findData(value)); });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) {
        write(combo, field, index < 0 ? QVariant() : combo->itemData(index));
    });
}

void DatasetBinder::bind(QDateEdit *edit, const QString &field)
{
    // The earliest date stands for none and shows as an empty box.
    edit->setMinimumDate(QDate(1899, 12, 31));
    edit->setSpecialValueText(QStringLiteral(" "));
    add(edit, field, [edit](const QVariant &value) {
        const QDate date = value.toDate();
        edit->setDate(value.isNull() || !date.isValid() ? edit->minimumDate() : date);
    });
    connect(edit, &QDateEdit::dateChanged, this, [this, edit, field](const QDate &date) {
        write(edit, field, date == edit->minimumDate() ? QVariant() : QVariant(date.startOfDay()));
    });
}
