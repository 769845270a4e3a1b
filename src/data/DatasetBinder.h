#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <functional>
#include <vector>

class Dataset;
class QCheckBox;
class LookupComboBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QWidget;

// Ties widgets to fields of a dataset's current row, as data-aware controls do: the
// widgets show the row, and what the user types goes into the row (which is then being
// edited). Escape in a widget gives its field back the value it was read with. Widgets
// are disabled while there is no row. Text boxes take the column's length limit from
// the schema.
//
// A binder may instead stand for one row of the dataset, as the rows of a list that
// edits in place do: it shows that row, and an edit makes it the current row first.
class DatasetBinder : public QObject
{
    Q_OBJECT
public:
    enum Option {
        NoOption = 0,
        UpperCase = 1,
        // A box with an input mask: nothing typed into the mask is stored as null.
        MaskedText = 2,
    };

    explicit DatasetBinder(Dataset *dataset, QObject *parent = nullptr);

    void bind(QLineEdit *edit, const QString &field, int options = NoOption);
    void bind(QPlainTextEdit *edit, const QString &field);
    // A check box over a Yes/No column, or over a text column with the given texts.
    void bind(QCheckBox *box, const QString &field, const QVariant &checked = true, const QVariant &unchecked = false);
    // An editable box with a list of known texts: the field holds the text.
    void bind(QComboBox *combo, const QString &field);
    // A list of a lookup's rows: the field holds the chosen row's key.
    void bind(LookupComboBox *combo, const QString &field);
    // A list of fixed choices whose items carry the field's values as their data.
    void bindChoice(QComboBox *combo, const QString &field);
    // A number with decimals.
    void bind(QDoubleSpinBox *box, const QString &field);
    // A whole number; none shows as the box's least value.
    void bind(QSpinBox *box, const QString &field);
    // A date; no date shows as an empty box.
    void bind(QDateEdit *edit, const QString &field);
    // A widget that only shows the field (a label, a picture), in its own way.
    void bindDisplay(QWidget *widget, const QString &field, std::function<void(const QVariant &)> show);

    // Stands for the row of this record number from now on; 0 for the current row.
    void setRow(int recNo);
    int row() const { return m_row; }

    // Shows the row again in every bound widget.
    void refresh();

Q_SIGNALS:
    void userEdited(const QString &field);
    // The user gave the field back its value with Escape.
    void reverted(const QString &field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Binding
    {
        QPointer<QWidget> widget;
        QString field;
        std::function<void(const QVariant &)> show;
    };

    void updateEnabled();
    void add(QWidget *widget, const QString &field, std::function<void(const QVariant &)> show);
    void write(QWidget *source, const QString &field, const QVariant &value);
    void showField(int field);
    QVariant shownValue(const QString &field) const;
    bool hasRow() const;
    bool isCurrentRow() const;

    Dataset *m_dataset;
    std::vector<Binding> m_bindings;
    QWidget *m_writing = nullptr;
    int m_row = 0;
};
