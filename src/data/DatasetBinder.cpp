#include "DatasetBinder.h"

#include "Dataset.h"
#include "Schema.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>

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
        write(edit, field, text);
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

void DatasetBinder::fillLookup(QComboBox *combo, Dataset *lookup, const QString &keyField, const QString &displayField)
{
    const QSignalBlocker blocker(combo);
    combo->clear();
    if (!lookup->isOpen())
        return;
    const int key = lookup->fieldIndex(keyField);
    const int display = lookup->fieldIndex(displayField);
    for (int recNo = 1; recNo <= lookup->recordCount(); ++recNo)
        combo->addItem(lookup->valueAt(recNo, display).toString(), lookup->valueAt(recNo, key));
}

void DatasetBinder::bind(QComboBox *combo, const QString &field, Dataset *lookup, const QString &keyField,
                         const QString &displayField)
{
    fillLookup(combo, lookup, keyField, displayField);
    const auto show = [combo](const QVariant &value) {
        int index = -1;
        for (int i = 0; i < combo->count() && !value.isNull(); ++i)
            if (combo->itemData(i).toLongLong() == value.toLongLong())
                index = i;
        combo->setCurrentIndex(index);
    };
    add(combo, field, show);
    connect(lookup, &Dataset::rowsReset, combo, [this, combo, lookup, keyField, displayField, field, show] {
        fillLookup(combo, lookup, keyField, displayField);
        const QSignalBlocker blocker(combo);
        show(m_dataset->value(field));
    });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) {
        write(combo, field, index < 0 ? QVariant() : combo->itemData(index));
    });
}
