#pragma once

#include "JetSql.h"
#include "RowOrder.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <initializer_list>
#include <limits>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

class Database;
class DatabaseError;

namespace Schema {
struct Column;
struct Table;
}

// A client-side static cursor over one query, as the windows work with their data:
// the rows are read once when it opens, then browsed, filtered, located and edited in
// memory. Edits are written to one table (given, or the single table of the statement)
// by its key. A dataset without a statement holds rows in memory only.
//
// Besides its events, it tells views and bound widgets what changed; those
// notifications are held back while controls are disabled (to freeze the display
// during a series of moves) and given as one refresh afterwards.
class Dataset : public QObject
{
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class ChangeReason { Update, AddNew, Delete };
    enum class PostErrorAction { Fail, Abort, Retry };
    enum LocateOption { CaseInsensitive = 1, PartialKey = 2 };
    Q_DECLARE_FLAGS(LocateOptions, LocateOption)

    // Row numbers given to filters and calculations are positions among all rows read.
    using RowFilter = std::function<bool(const Dataset &, int row)>;
    // The rows [first, last) outside which the filter accepts none, so that a filter of
    // rows in its own order tries only those.
    using FilterRange = std::function<std::pair<int, int>()>;
    using Calculation = std::function<QVariant(const Dataset &, int row)>;

    explicit Dataset(QObject *parent = nullptr);
    Dataset(Database *database, const QString &sql, QObject *parent = nullptr);
    ~Dataset() override;

    void setDatabase(Database *database) { m_database = database; }
    Database *database() const { return m_database; }
    void setSql(const QString &sql);
    void setSqlLines(const QStringList &lines) { m_sqlLines = lines; }
    const QStringList &sqlLines() const { return m_sqlLines; }
    QString sql() const { return m_sqlLines.join(QLatin1Char('\n')); }
    void setParameter(const QString &name, const QVariant &value);
    QVariant parameter(const QString &name) const { return m_parameters.value(name); }
    void setUpdateTable(const QString &table) { m_updateTable = table; }
    // For long lists shown one row at a time: the statement then gives only the keys, in
    // their order, and a row's values are read by its key (with rowSql, which names the
    // key as a parameter) when they are first needed.
    void setRowStatement(const QString &keyField, const QString &rowSql);
    QString updateTable() const;
    void setReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool isReadOnly() const { return m_readOnly; }
    // Fields of a dataset kept in memory only.
    void setMemoryFields(const QStringList &fields);
    void addCalculatedField(const QString &name, Calculation calculation);
    // For a dataset that asks requeryIfChanged(): each read then notes the database's
    // change token, which costs a query of its own.
    void setTracksChanges(bool tracks) { m_tracksChanges = tracks; }
    // The whole-number field the dataset is mostly located by: its index is made as the
    // rows are read, instead of at the first locate.
    void setLocatedBy(const QString &field) { m_locatedBy = field; }

    void open();
    void close();
    void requery();
    // Reads the rows again only when the database changed since they were read (this
    // program's writes, another workstation's commits, the change stamps); true when it did.
    // A dataset that does not track changes is always read again.
    bool requeryIfChanged();
    // The same for several datasets, read at the same time (each but the first on a
    // connection of its own); true for each that was read again.
    static std::vector<bool> requeryIfChanged(std::initializer_list<Dataset *> datasets);
    bool isOpen() const { return m_state != State::Inactive; }
    State state() const { return m_state; }

    int recordCount() const { return int(m_visible.size()); }
    int recNo() const { return m_current + 1; }
    bool isEmpty() const { return m_visible.empty(); }
    bool bof() const { return m_current <= 0; }
    bool eof() const { return m_current < 0 || m_current >= recordCount() - 1; }
    void first();
    void prior();
    void next();
    void last();
    bool moveTo(int recNo);
    bool locate(const QString &field, const QVariant &value, LocateOptions options = {});

    int fieldCount() const { return int(m_fields.size()); }
    QString fieldName(int field) const;
    int fieldIndex(const QString &name) const;
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    // The current row's value (while editing, the value being edited); null when there is none.
    QVariant value(const QString &field) const;
    QVariant value(int field) const;
    // A value of the rows shown, by record number from 1.
    QVariant valueAt(int recNo, int field) const;
    // The record number of the first row shown whose whole-number field (read with the
    // list) holds key, or 0; unlike locate, the current row stays.
    int recNoOf(const QString &field, qint64 key) const;
    QVariant rawValue(int row, int field) const;
    // The same without a copy, for passes over many rows: valid until the dataset is
    // used again (rows read by key are kept in a bounded cache).
    const QVariant &rawCell(int row, int field) const;
    int rawRowCount() const;
    // The position among all rows read of a record number, or -1.
    int rowOfRecord(int recNo) const;

    void setValue(const QString &field, const QVariant &value);
    void setValue(int field, const QVariant &value);

    // Gives a field of the row being edited back the value it was read with.
    void revertValue(int field);

    void edit();
    void append();
    void post();
    // Posts a new row, or cancels it when the database refuses it (the error goes on),
    // so that the dataset can go on taking rows.
    void postOrCancel();
    void cancel();
    void deleteRecord();
    // Saves the current row when it is being edited.
    void checkBrowseMode();

    void setRowFilter(RowFilter filter, FilterRange range = {})
    {
        m_filter = std::move(filter);
        m_filterRange = std::move(range);
    }
    void setFiltered(bool filtered);
    bool isFiltered() const { return m_filtered; }
    // Applies the filter again and moves to the first row. Narrowing: the filter now
    // accepts no row it did not accept before, so only the rows shown are tried again.
    void refilter(bool narrowing = false);

    void disableControls();
    void enableControls();

Q_SIGNALS:
    void afterOpen();
    void afterClose();
    void afterScroll();
    void afterInsert();
    void beforePost();
    void afterPost();
    void afterCancel();
    void afterDelete();
    // Handlers may change the values and ask for a retry, or abort quietly; by default the error is raised.
    void postError(const DatabaseError &error, Dataset::PostErrorAction *action);
    void recordChangeComplete(Dataset::ChangeReason reason);

    // The rows were read, and are not shown yet: what is kept per row (a filter's
    // texts, say) is taken here, so that the rows are filtered once.
    void rowsRead();
    void rowsReset();
    void currentChanged();
    void currentValuesChanged(int field);
    void rowValuesChanged(int recNo);
    void stateChanged();

private:
    struct Field
    {
        QString name;
        const Schema::Column *column = nullptr;
        Calculation calculation;
        bool converted = false; // the engine's value needs converting
    };
    using Row = std::vector<QVariant>;

    // Reads the rows; a tracking dataset notes the token given, or reads it.
    void fetch(std::optional<QString> token = std::nullopt);
    void read(const Database &database, std::optional<QString> token);
    static void readTogether(const std::vector<std::pair<Dataset *, QString>> &reading);
    static void releaseFreedMemory(qsizetype rowsRead);
    void readFields(const QStringList &names);
    void readRow(const QVariant *values, std::span<QVariant> row) const;
    void calculate(std::span<QVariant> row, int rowIndex) const;
    void rebuildVisible(bool narrowing = false);
    // Shows the rows read from the first; the caller tells afterScroll.
    void showFromFirst(bool narrowing = false);
    void setCurrent(int index, bool notify = true);
    void setState(State state);
    void requireRow(const char *operation) const;
    const Schema::Table &writableTable() const;
    int keyField(const Schema::Table &table) const;
    void writeRow();
    void updateRow(const Schema::Table &table, const std::vector<int> &fields);
    void insertRow(const Schema::Table &table, const std::vector<int> &fields);
    [[noreturn]] void takeRowChangedElsewhere(const Schema::Table &table, int row);
    void notifyReset();
    void notifyCurrent();

    // Row storage: all cells in one block, or (for rows read by key) the keys and the rows read so far.
    int stride() const { return int(m_fields.size()); }
    const QVariant &cell(int row, int field) const;
    Row rowValues(int row) const;
    void clearRows();
    void storeRow(int row, const Row &values);
    void appendRow(const Row &values);
    void eraseRow(int row);
    const Row &lazyRow(int row) const;
    int locateByIndex(int field, qint64 key) const;
    void buildIndex(int field) const;
    void indexLocatedField() const;
    std::vector<int> orderOf(const std::vector<QVariant> &values, int columns, const QList<std::pair<int, bool>> &terms);
    void putRowsInOrder(std::vector<int> order);

    Database *m_database = nullptr;
    QStringList m_sqlLines;
    // The order of the last statement read, worked out once for a statement read again.
    QString m_orderingOf;
    std::optional<JetSql::Ordering> m_ordering;
    RowOrder::Incremental m_order;
    QVariantMap m_parameters;
    QString m_updateTable;
    QString m_lazyKeyField;
    QString m_rowSql;
    bool m_readOnly = false;
    bool m_memory = false;
    bool m_tracksChanges = false;
    QString m_locatedBy;
    QString m_readToken;

    std::vector<Field> m_fields;
    std::vector<std::pair<QString, Calculation>> m_calculations;
    std::vector<QVariant> m_cells;
    // The keys of rows read by key, as whole numbers: a list of a million persons holds
    // a million of them.
    static constexpr qint64 NoKey = std::numeric_limits<qint64>::min();
    std::vector<qint64> m_keys;
    mutable QVariant m_keyCell; // what cell() gives for a key
    int m_lazyKey = -1;
    mutable std::unordered_map<qint64, Row> m_rowCache;
    Row m_blankRow; // the values of a row without a key yet
    // Rows by whole-number value of one field, for locating keys among many rows.
    mutable std::vector<int> m_index;
    mutable int m_indexField = -1;
    std::vector<int> m_visible;
    int m_current = -1;
    int m_beforeInsert = -1;

    State m_state = State::Inactive;
    Row m_buffer;
    std::vector<bool> m_changed;

    RowFilter m_filter;
    FilterRange m_filterRange;
    bool m_filtered = false;
    int m_frozen = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(Dataset::LocateOptions)

// Freezes the display of datasets (disableControls) for a scope, and thaws it however
// the scope ends, an error included.
class FrozenDisplay
{
public:
    FrozenDisplay(std::initializer_list<Dataset *> datasets)
        : m_datasets(datasets)
    {
        for (Dataset *dataset : m_datasets)
            dataset->disableControls();
    }
    ~FrozenDisplay()
    {
        for (auto it = m_datasets.rbegin(); it != m_datasets.rend(); ++it)
            (*it)->enableControls();
    }
    FrozenDisplay(const FrozenDisplay &) = delete;
    FrozenDisplay &operator=(const FrozenDisplay &) = delete;

private:
    std::vector<Dataset *> m_datasets;
};
