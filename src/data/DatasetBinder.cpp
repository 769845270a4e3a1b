#include "DatasetBinder.h"

#include "Dataset.h"
#include "Schema.h"
#include "TextLengthLimit.h"

#include <QCheckBox>
#include <QComboBox>
#include "LookupComboBox.h"
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QScopedValueRollback>
#include <QSignalBlocker>

#include <algorithm>

namespace {

// Setting a line's text lays it out and paints it again, and forgets what Undo would bring
// back: a line that already shows the text, with nothing to undo, is left as it is.
void showText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text || edit->isUndoAvailable() || edit->isRedoAvailable())
        edit->setText(text);
}

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
    connect(dataset, &Dataset::currentChanged, this, [this] {
        // A row of a list changes with the current row only while it is the current row.
        if (isCurrentRow())
            refresh();
        else
            updateEnabled();
    });
    connect(dataset, &Dataset::stateChanged, this, &DatasetBinder::updateEnabled);
    connect(dataset, &Dataset::currentValuesChanged, this, &DatasetBinder::showField);
    connect(dataset, &Dataset::rowValuesChanged, this, [this](int recNo) {
        if (m_row > 0 && recNo == m_row)
            refresh();
    });
}

void DatasetBinder::setRow(int recNo)
{
    m_row = qMax(0, recNo);
    refresh();
}

QVariant DatasetBinder::shownValue(const QString &field) const
{
    return m_row > 0 ? m_dataset->valueAt(m_row, m_dataset->fieldIndex(field)) : m_dataset->value(field);
}

bool DatasetBinder::hasRow() const
{
    return m_dataset->isOpen() && (m_row > 0 ? m_row <= m_dataset->recordCount() : m_dataset->recNo() > 0);
}

bool DatasetBinder::isCurrentRow() const
{
    return m_row == 0 || m_row == m_dataset->recNo();
}

void DatasetBinder::add(QWidget *widget, const QString &field, std::function<void(const QVariant &)> show)
{
    m_bindings.push_back({widget, field, std::move(show)});
    const Binding &binding = m_bindings.back();
    widget->installEventFilter(this);
    // An editable list's keys go to its line.
    if (auto *combo = qobject_cast<QComboBox *>(widget); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
    binding.widget->setEnabled(hasRow());
    const QSignalBlocker blocker(widget);
    binding.show(shownValue(field));
}

void DatasetBinder::write(QWidget *source, const QString &field, const QVariant &value)
{
    // Moving there saves the row edited before.
    if (!isCurrentRow())
        m_dataset->moveTo(m_row);
    {
        const QScopedValueRollback writing(m_writing, source);
        m_dataset->setValue(field, value);
    }
    Q_EMIT userEdited(field);
}

bool DatasetBinder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return QObject::eventFilter(watched, event);
    const Dataset::State state = m_dataset->state();
    if ((state != Dataset::State::Edit && state != Dataset::State::Insert) || !isCurrentRow())
        return QObject::eventFilter(watched, event);
    for (const Binding &binding : m_bindings) {
        QWidget *widget = binding.widget;
        if (widget && (widget == watched || widget->isAncestorOf(qobject_cast<QWidget *>(watched)))) {
            m_dataset->revertValue(m_dataset->fieldIndex(binding.field));
            Q_EMIT reverted(binding.field);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void DatasetBinder::refresh()
{
    updateEnabled();
    for (const Binding &binding : m_bindings) {
        // The widget the user is typing in already shows what it should.
        if (!binding.widget || binding.widget == m_writing)
            continue;
        const QSignalBlocker blocker(binding.widget.data());
        binding.show(shownValue(binding.field));
    }
}

void DatasetBinder::updateEnabled()
{
    const bool enabled = hasRow();
    for (const Binding &binding : m_bindings)
        if (binding.widget)
            binding.widget->setEnabled(enabled);
}

void DatasetBinder::showField(int field)
{
    if (!isCurrentRow())
        return;
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
    add(edit, field, [edit](const QVariant &value) { showText(edit, value.toString()); });
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
    LimitTextLength(edit, lengthLimit(m_dataset, field));
    add(edit, field, [edit](const QVariant &value) {
        // Laying out the same text again costs more than comparing it.
        if (const QString text = value.toString(); text != edit->toPlainText())
            edit->setPlainText(text);
    });
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
    add(combo, field, [combo](const QVariant &value) { showText(combo->lineEdit(), value.toString()); });
    // What the user types, or chooses from the list.
    connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, combo, field](const QString &text) { write(combo, field, text); });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) { write(combo, field, combo->itemText(index)); });
}

void DatasetBinder::bind(LookupComboBox *combo, const QString &field)
{
    add(combo, field, [combo](const QVariant &value) { combo->setCurrentKey(value); });
    connect(combo->lookup(), &Dataset::rowsReset, combo, [this, combo, field] { combo->setCurrentKey(shownValue(field)); });
    connect(combo, &QComboBox::activated, this, [this, combo, field] { write(combo, field, combo->currentKey()); });
}

void DatasetBinder::bindChoice(QComboBox *combo, const QString &field)
{
    add(combo, field, [combo](const QVariant &value) { combo->setCurrentIndex(value.isNull() ? -1 : combo->findData(value)); });
    connect(combo, &QComboBox::activated, this, [this, combo, field](int index) {
        write(combo, field, index < 0 ? QVariant() : combo->itemData(index));
    });
}

void DatasetBinder::bind(QDoubleSpinBox *box, const QString &field)
{
    add(box, field, [box](const QVariant &value) { box->setValue(value.toDouble()); });
    connect(box, &QDoubleSpinBox::valueChanged, this, [this, box, field](double value) { write(box, field, value); });
}

void DatasetBinder::bind(QSpinBox *box, const QString &field)
{
    add(box, field, [box](const QVariant &value) { box->setValue(value.isNull() ? box->minimum() : value.toInt()); });
    connect(box, &QSpinBox::valueChanged, this, [this, box, field](int value) { write(box, field, value); });
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
        // A new date keeps the time of day the value had.
        const QTime time = shownValue(field).toDateTime().time();
        write(edit, field, date == edit->minimumDate() ? QVariant() : QVariant(QDateTime(date, time.isValid() ? time : QTime(0, 0))));
    });
}

void DatasetBinder::bindDisplay(QWidget *widget, const QString &field, std::function<void(const QVariant &)> show)
{
    add(widget, field, std::move(show));
}
