#include "Dataset.h"

#include "ColumnValue.h"
#include "Database.h"
#include "DatabaseError.h"
#include "JetSql.h"
#include "RowOrder.h"
#include "Schema.h"

#include <QRegularExpression>
#include <QSqlRecord>

#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <future>
#include <numeric>
#include <tuple>

namespace {

constexpr int MaxPostRetries = 10;

bool matches(const QVariant &candidate, const QVariant &wanted, Dataset::LocateOptions options)
{
    if (wanted.isNull() || candidate.isNull())
        return wanted.isNull() && candidate.isNull();
    if (ColumnValue::isNumber(candidate) && ColumnValue::isNumber(wanted))
        return candidate.toDouble() == wanted.toDouble();
    const QString text = candidate.toString();
    const QString key = wanted.toString();
    const Qt::CaseSensitivity sensitivity = options.testFlag(Dataset::CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (options.testFlag(Dataset::PartialKey))
        return text.startsWith(key, sensitivity);
    return text.compare(key, sensitivity) == 0;
}

}

Dataset::Dataset(QObject *parent)
    : QObject(parent)
{
}

Dataset::Dataset(Database *database, const QString &sql, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
    setSql(sql);
}

Dataset::~Dataset() = default;

void Dataset::setSql(const QString &sql)
{
    m_sqlLines = sql.split(QLatin1Char('\n'));
}

void Dataset::setParameter(const QString &name, const QVariant &value)
{
    m_parameters.insert(name, value);
}

QString Dataset::updateTable() const
{
    if (!m_updateTable.isEmpty() || m_memory)
        return m_updateTable;
    // A statement over one table writes to that table.
    static const QRegularExpression singleTable(QStringLiteral("\\bFROM\\s+\\[?(\\w+)\\]?\\s*(?:$|;|\\bWHERE\\b|\\bORDER\\b)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QString statement = sql();
    if (statement.contains(QLatin1String(" JOIN "), Qt::CaseInsensitive))
        return {};
    return singleTable.match(statement).captured(1);
}

void Dataset::setMemoryFields(const QStringList &fields)
{
    m_memory = true;
    m_fields.clear();
    for (const QString &name : fields)
        m_fields.push_back({name, nullptr, {}});
}

void Dataset::addCalculatedField(const QString &name, Calculation calculation)
{
    m_calculations.emplace_back(name, std::move(calculation));
}

void Dataset::setRowStatement(const QString &keyField, const QString &rowSql)
{
    m_lazyKeyField = keyField;
    m_rowSql = rowSql;
}

void Dataset::readFields(const QStringList &names)
{
    m_fields.clear();
    for (const QString &name : names) {
        const Schema::Column *column = Schema::anyColumn(name);
        // Engines that fold names report them in lower case; the program knows their spelling.
        const bool converted = column && (column->type == Schema::Type::DateTime || column->type == Schema::Type::YesNo);
        m_fields.push_back({column ? QString::fromLatin1(column->name) : name, column, {}, converted});
    }
    for (const auto &[name, calculation] : m_calculations)
        m_fields.push_back({name, nullptr, calculation, false});
}

void Dataset::readRow(const QVariant *values, std::span<QVariant> row) const
{
    for (int i = 0; i < int(m_fields.size()) && !m_fields[i].calculation; ++i)
        row[i] = m_fields[i].converted ? m_database->fromDatabase(m_fields[i].column, values[i]) : values[i];
}

void Dataset::fetch(std::optional<QString> token)
{
    clearRows();
    if (!m_memory) {
        if (!m_database)
            throw DatabaseError(tr("Poizvedba nima povezave z bazo."), sql());
        read(*m_database, std::move(token));
    }
    Q_EMIT rowsRead();
    releaseFreedMemory(rawRowCount());
}

// The rows read before, and what putting the new ones in order took, leave much of the
// heap free when a list is long; the C library keeps such memory unless asked. (Asked
// beside the window's work, the walk would hold up its allocations instead.)
void Dataset::releaseFreedMemory(qsizetype rowsRead)
{
#ifdef __GLIBC__
    if (rowsRead >= 65536)
        malloc_trim(0);
#else
    Q_UNUSED(rowsRead);
#endif
}

void Dataset::read(const Database &database, std::optional<QString> token)
{
    if (m_tracksChanges)
        m_readToken = token ? std::move(*token) : database.changeToken();
    // SQLite's sorter costs more than the reading: where the order names columns of the
    // result, the rows are put in order here.
    const QString jet = sql();
    if (jet != m_orderingOf) {
        m_ordering = JetSql::resultOrdering(jet);
        m_orderingOf = jet;
    }
    const std::optional<JetSql::Ordering> &ordering = database.dialect() == SqlDialect::Sqlite ? m_ordering : std::nullopt;
    const QString statement = ordering ? ordering->unordered : jet;
    const QList<std::pair<int, bool>> terms = ordering ? ordering->columns : QList<std::pair<int, bool>>();
    const auto readFieldsOf = [this](const QStringList &names) { readFields(names); };
    if (!m_lazyKeyField.isEmpty()) {
        // The statement gives the keys (and what they are ordered by); the fields are those of a row.
        std::vector<QVariant> keyRows;
        int columns = 0;
        database.read(statement, m_parameters, [&columns](const QStringList &names) { columns = int(names.size()); },
                      [&](const QVariant *values) { keyRows.insert(keyRows.end(), values, values + columns); });
        const std::vector<int> order = orderOf(keyRows, columns, terms);
        m_keys.reserve(order.size());
        for (const int row : order) {
            const QVariant &key = keyRows[size_t(row) * size_t(columns)];
            m_keys.push_back(key.isNull() ? NoKey : key.toLongLong());
        }
        QVariantMap none = m_parameters;
        none.insert(m_lazyKeyField, QVariant(QMetaType(QMetaType::LongLong)));
        database.read(m_rowSql, none, readFieldsOf, [](const QVariant *) {});
        m_lazyKey = fieldIndex(m_lazyKeyField);
        m_blankRow.assign(m_fields.size(), QVariant());
        indexLocatedField();
        return;
    }
    const bool calculated = !m_calculations.empty();
    database.read(statement, m_parameters, readFieldsOf, [this, calculated](const QVariant *values) {
        m_cells.resize(m_cells.size() + size_t(stride()));
        const std::span<QVariant> row(m_cells.end() - stride(), m_cells.end());
        readRow(values, row);
        if (calculated)
            calculate(row, rawRowCount() - 1);
    });
    if (ordering)
        putRowsInOrder(orderOf(m_cells, stride(), terms));
    indexLocatedField();
}

// A list read again whenever another workstation changed the data keeps what it needs to
// order the next read by the rows that changed; other lists are ordered afresh.
std::vector<int> Dataset::orderOf(const std::vector<QVariant> &values, int columns, const QList<std::pair<int, bool>> &terms)
{
    return m_tracksChanges ? m_order.order(values, columns, terms) : RowOrder::order(values, columns, terms);
}

// Moves the rows into the order given (row i takes the place of order[i]'s), in place:
// a list of many rows is not held twice.
void Dataset::putRowsInOrder(std::vector<int> order)
{
    const size_t width = size_t(stride());
    for (size_t place = 0; place < order.size(); ++place) {
        if (order[place] < 0 || size_t(order[place]) == place)
            continue;
        // Follow the cycle: each place takes the row that belongs there.
        std::vector<QVariant> held(std::make_move_iterator(m_cells.begin() + ptrdiff_t(place * width)),
                                   std::make_move_iterator(m_cells.begin() + ptrdiff_t((place + 1) * width)));
        size_t current = place;
        while (size_t(order[current]) != place) {
            const size_t from = size_t(order[current]);
            std::move(m_cells.begin() + ptrdiff_t(from * width), m_cells.begin() + ptrdiff_t((from + 1) * width),
                      m_cells.begin() + ptrdiff_t(current * width));
            order[current] = -1;
            current = from;
        }
        std::move(held.begin(), held.end(), m_cells.begin() + ptrdiff_t(current * width));
        order[current] = -1;
    }
}

// On the thread that read the rows: when several lists are read at once, this is part of it.
void Dataset::indexLocatedField() const
{
    if (const int field = fieldIndex(m_locatedBy); field >= 0)
        buildIndex(field);
}

void Dataset::calculate(std::span<QVariant> row, int rowIndex) const
{
    for (size_t f = 0; f < m_fields.size(); ++f)
        if (m_fields[f].calculation)
            row[f] = m_fields[f].calculation(*this, rowIndex);
}

const QVariant &Dataset::cell(int row, int field) const
{
    if (m_lazyKeyField.isEmpty())
        return m_cells[size_t(row) * size_t(stride()) + size_t(field)];
    // The key is known without reading the row: a locate by key reads nothing.
    if (field == m_lazyKey) {
        m_keyCell = m_keys[row] == NoKey ? QVariant() : QVariant(m_keys[row]);
        return m_keyCell;
    }
    return lazyRow(row)[field];
}

const Dataset::Row &Dataset::lazyRow(int row) const
{
    const qint64 id = m_keys[row];
    // A row appended and not yet posted has no key to read it by.
    if (id == NoKey)
        return m_blankRow;
    auto found = m_rowCache.find(id);
    if (found != m_rowCache.end())
        return found->second;
    // A bounded cache: a list is shown a row at a time.
    if (m_rowCache.size() >= 4096)
        m_rowCache.clear();
    QVariantMap parameters = m_parameters;
    parameters.insert(m_lazyKeyField, id);
    Row values(m_fields.size());
    bool hasRow = false;
    m_database->read(m_rowSql, parameters, [](const QStringList &) {}, [&](const QVariant *read) {
        readRow(read, values);
        hasRow = true;
    });
    if (!hasRow && m_lazyKey >= 0)
        values[m_lazyKey] = id; // gone meanwhile: only its key remains
    Row &cached = m_rowCache.emplace(id, std::move(values)).first->second;
    calculate(cached, row);
    return cached;
}

Dataset::Row Dataset::rowValues(int row) const
{
    if (!m_lazyKeyField.isEmpty())
        return lazyRow(row);
    const auto first = m_cells.begin() + ptrdiff_t(row) * stride();
    return Row(first, first + stride());
}

void Dataset::clearRows()
{
    m_cells.clear();
    m_keys.clear();
    m_rowCache.clear();
    m_indexField = -1;
}

int Dataset::rawRowCount() const
{
    if (!m_lazyKeyField.isEmpty())
        return int(m_keys.size());
    return m_cells.empty() ? 0 : int(m_cells.size()) / stride();
}

void Dataset::storeRow(int row, const Row &values)
{
    m_indexField = -1;
    if (m_lazyKeyField.isEmpty()) {
        std::copy(values.begin(), values.end(), m_cells.begin() + ptrdiff_t(row) * stride());
        return;
    }
    m_rowCache.erase(m_keys[row]);
    const QVariant key = m_lazyKey >= 0 ? values[m_lazyKey] : QVariant();
    m_keys[row] = key.isNull() ? NoKey : key.toLongLong();
    if (m_keys[row] != NoKey)
        m_rowCache[m_keys[row]] = values;
}

void Dataset::appendRow(const Row &values)
{
    m_indexField = -1;
    if (m_lazyKeyField.isEmpty()) {
        m_cells.insert(m_cells.end(), values.begin(), values.end());
        return;
    }
    m_keys.push_back(NoKey);
    storeRow(int(m_keys.size()) - 1, values);
}

void Dataset::eraseRow(int row)
{
    m_indexField = -1;
    if (m_lazyKeyField.isEmpty()) {
        const auto first = m_cells.begin() + ptrdiff_t(row) * stride();
        m_cells.erase(first, first + stride());
    } else {
        if (m_keys[row] != NoKey)
            m_rowCache.erase(m_keys[row]);
        m_keys.erase(m_keys.begin() + row);
    }
    m_visible.erase(std::find(m_visible.begin(), m_visible.end(), row));
    for (int &visible : m_visible)
        if (visible > row)
            --visible;
}

void Dataset::rebuildVisible(bool narrowing)
{
    const bool filtering = m_filtered && m_filter;
    const int rows = rawRowCount();
    int first = 0, last = rows;
    if (filtering && m_filterRange) {
        std::tie(first, last) = m_filterRange();
        first = std::clamp(first, 0, rows);
        last = std::clamp(last, first, rows);
    }
    if (narrowing && filtering) {
        // The rows shown keep the order of all rows.
        m_visible.erase(std::lower_bound(m_visible.begin(), m_visible.end(), last), m_visible.end());
        m_visible.erase(m_visible.begin(), std::lower_bound(m_visible.begin(), m_visible.end(), first));
        std::erase_if(m_visible, [this](int row) { return !m_filter(*this, row); });
        return;
    }
    m_visible.clear();
    m_visible.reserve(size_t(last - first));
    for (int i = first; i < last; ++i)
        if (!filtering || m_filter(*this, i))
            m_visible.push_back(i);
}

void Dataset::showFromFirst(bool narrowing)
{
    rebuildVisible(narrowing);
    m_current = m_visible.empty() ? -1 : 0;
    notifyReset();
}

void Dataset::open()
{
    if (isOpen())
        return;
    if (m_memory && m_fields.empty())
        throw DatabaseError(tr("Tabela v pomnilniku nima polj."));
    fetch();
    setState(State::Browse);
    showFromFirst();
    Q_EMIT afterOpen();
    Q_EMIT afterScroll();
}

void Dataset::close()
{
    if (!isOpen())
        return;
    clearRows();
    m_order.forget();
    m_visible.clear();
    m_buffer.clear();
    m_current = -1;
    setState(State::Inactive);
    notifyReset();
    Q_EMIT afterClose();
}

void Dataset::requery()
{
    if (!isOpen()) {
        open();
        return;
    }
    checkBrowseMode();
    fetch();
    showFromFirst();
    Q_EMIT afterScroll();
}

bool Dataset::requeryIfChanged()
{
    return requeryIfChanged({this}).front();
}

std::vector<bool> Dataset::requeryIfChanged(std::initializer_list<Dataset *> datasets)
{
    std::vector<bool> changed;
    std::vector<std::pair<Dataset *, QString>> reading;
    for (Dataset *dataset : datasets) {
        if (!dataset->m_tracksChanges || !dataset->isOpen() || dataset->m_memory || dataset->m_state != State::Browse) {
            dataset->requery();
            changed.push_back(true);
            continue;
        }
        QString token = dataset->m_database->changeToken();
        changed.push_back(token != dataset->m_readToken);
        if (changed.back())
            reading.emplace_back(dataset, std::move(token));
    }
    readTogether(reading);
    // All are shown before any moves: a window that follows one in another finds it whole.
    for (const auto &[dataset, token] : reading) {
        Q_EMIT dataset->rowsRead();
        dataset->showFromFirst();
    }
    releaseFreedMemory(std::accumulate(reading.begin(), reading.end(), qsizetype(0),
                                       [](qsizetype rows, const auto &read) { return rows + read.first->rawRowCount(); }));
    for (const auto &[dataset, token] : reading)
        Q_EMIT dataset->afterScroll();
    return changed;
}

void Dataset::readTogether(const std::vector<std::pair<Dataset *, QString>> &reading)
{
    // The first is read here, the others at the same time, each on a connection of its
    // own; a dataset whose calculations (the window's code) run as it reads is read here.
    std::vector<std::future<void>> elsewhere;
    std::vector<const std::pair<Dataset *, QString> *> here;
    for (size_t i = 0; i < reading.size(); ++i) {
        Dataset *dataset = reading[i].first;
        dataset->clearRows();
        if (i == 0 || (!dataset->m_calculations.empty() && dataset->m_lazyKeyField.isEmpty())) {
            here.push_back(&reading[i]);
            continue;
        }
        elsewhere.push_back(std::async(std::launch::async, [dataset, token = reading[i].second] {
            Database own(dataset->m_database->location());
            own.setBusyTimeout(dataset->m_database->busyTimeout());
            dataset->read(own, token);
        }));
    }
    std::exception_ptr failure;
    try {
        for (const auto *item : here)
            item->first->read(*item->first->m_database, item->second);
    } catch (...) {
        failure = std::current_exception();
    }
    for (std::future<void> &other : elsewhere) {
        try {
            other.get();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    if (failure)
        std::rethrow_exception(failure);
}

void Dataset::setCurrent(int index, bool notify)
{
    m_current = m_visible.empty() ? -1 : qBound(0, index, recordCount() - 1);
    if (!notify)
        return;
    notifyCurrent();
    Q_EMIT afterScroll();
}

void Dataset::first()
{
    checkBrowseMode();
    setCurrent(0);
}

void Dataset::prior()
{
    checkBrowseMode();
    setCurrent(m_current - 1);
}

void Dataset::next()
{
    checkBrowseMode();
    setCurrent(m_current + 1);
}

void Dataset::last()
{
    checkBrowseMode();
    setCurrent(recordCount() - 1);
}

bool Dataset::moveTo(int recNo)
{
    if (recNo < 1 || recNo > recordCount())
        return false;
    checkBrowseMode();
    if (recNo - 1 != m_current)
        setCurrent(recNo - 1);
    return true;
}

void Dataset::buildIndex(int field) const
{
    // Sorted as (value, row) pairs, one block quick to sort; kept as the rows alone, a
    // quarter of the memory: a search reads the few values it needs where they lie.
    const int rows = rawRowCount();
    std::vector<std::pair<qint64, int>> keyed;
    keyed.reserve(size_t(rows));
    for (int row = 0; row < rows; ++row) {
        bool ok = false;
        const qint64 value = cell(row, field).toLongLong(&ok);
        if (ok)
            keyed.emplace_back(value, row);
    }
    std::sort(keyed.begin(), keyed.end());
    m_index.resize(keyed.size());
    std::transform(keyed.begin(), keyed.end(), m_index.begin(), [](const std::pair<qint64, int> &k) { return k.second; });
    m_indexField = field;
}

int Dataset::locateByIndex(int field, qint64 key) const
{
    if (m_indexField != field)
        buildIndex(field);
    // The first of the rows shown; the shown rows keep the order of all rows.
    const auto keyOf = [this, field](int row) { return cell(row, field).toLongLong(); };
    for (auto it = std::lower_bound(m_index.begin(), m_index.end(), key, [&keyOf](int row, qint64 wanted) { return keyOf(row) < wanted; });
         it != m_index.end() && keyOf(*it) == key; ++it) {
        const auto at = std::lower_bound(m_visible.begin(), m_visible.end(), *it);
        if (at != m_visible.end() && *at == *it)
            return int(at - m_visible.begin());
    }
    return -1;
}

bool Dataset::locate(const QString &field, const QVariant &value, LocateOptions options)
{
    const int f = fieldIndex(field);
    if (f < 0 || !isOpen())
        return false;
    checkBrowseMode();
    // Whole numbers (keys) are found through an index; rows read by key only by their key.
    const bool wholeNumber = value.typeId() == QMetaType::Int || value.typeId() == QMetaType::LongLong
        || value.typeId() == QMetaType::UInt || value.typeId() == QMetaType::ULongLong;
    if (wholeNumber && !options && (m_lazyKeyField.isEmpty() || f == m_lazyKey)) {
        const int at = locateByIndex(f, value.toLongLong());
        if (at >= 0 && at != m_current)
            setCurrent(at);
        return at >= 0;
    }
    for (int i = 0; i < recordCount(); ++i) {
        if (matches(cell(m_visible[i], f), value, options)) {
            if (i != m_current)
                setCurrent(i);
            return true;
        }
    }
    return false;
}

int Dataset::recNoOf(const QString &field, qint64 key) const
{
    const int f = fieldIndex(field);
    if (f < 0 || !isOpen() || (!m_lazyKeyField.isEmpty() && f != m_lazyKey))
        return 0;
    return locateByIndex(f, key) + 1;
}

QString Dataset::fieldName(int field) const
{
    return field >= 0 && field < fieldCount() ? m_fields[field].name : QString();
}

int Dataset::fieldIndex(const QString &name) const
{
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QVariant Dataset::value(const QString &field) const
{
    return value(fieldIndex(field));
}

QVariant Dataset::value(int field) const
{
    if (field < 0 || field >= fieldCount())
        return {};
    if (m_state == State::Edit || m_state == State::Insert)
        return m_buffer[field];
    return m_current < 0 ? QVariant() : cell(m_visible[m_current], field);
}

QVariant Dataset::valueAt(int recNo, int field) const
{
    if (recNo - 1 == m_current && (m_state == State::Edit || m_state == State::Insert))
        return value(field);
    const int row = rowOfRecord(recNo);
    return row < 0 || field < 0 || field >= fieldCount() ? QVariant() : cell(row, field);
}

QVariant Dataset::rawValue(int row, int field) const
{
    return rawCell(row, field);
}

const QVariant &Dataset::rawCell(int row, int field) const
{
    static const QVariant none;
    if (row < 0 || row >= rawRowCount() || field < 0 || field >= fieldCount())
        return none;
    return cell(row, field);
}

int Dataset::rowOfRecord(int recNo) const
{
    return recNo >= 1 && recNo <= recordCount() ? m_visible[recNo - 1] : -1;
}

void Dataset::setValue(const QString &field, const QVariant &value)
{
    const int f = fieldIndex(field);
    if (f < 0)
        throw DatabaseError(tr("Polja %1 ni v poizvedbi.").arg(field), sql());
    setValue(f, value);
}

void Dataset::setValue(int field, const QVariant &value)
{
    if (m_state == State::Browse)
        edit();
    if (m_state != State::Edit && m_state != State::Insert)
        throw DatabaseError(tr("Poizvedba ni odprta."), sql());
    // A cleared text is no value: conditions such as "Is Not Null" must pass it over.
    const Schema::Column *column = m_fields[field].column;
    const bool clearedText = column && column->type == Schema::Type::Text && value.typeId() == QMetaType::QString
        && value.toString().isEmpty();
    m_buffer[field] = clearedText ? QVariant(QMetaType(QMetaType::QString)) : value;
    m_changed[field] = true;
    if (!m_frozen)
        Q_EMIT currentValuesChanged(field);
}

void Dataset::revertValue(int field)
{
    if ((m_state != State::Edit && m_state != State::Insert) || field < 0 || field >= fieldCount())
        return;
    m_buffer[field] = m_state == State::Edit ? cell(m_visible[m_current], field) : QVariant();
    m_changed[field] = false;
    if (!m_frozen)
        Q_EMIT currentValuesChanged(field);
}

void Dataset::requireRow(const char *operation) const
{
    if (!isOpen() || m_current < 0)
        throw DatabaseError(tr("Ni vnosa, ki bi ga bilo mogoče %1.").arg(tr(operation)), sql());
}

void Dataset::edit()
{
    if (m_state == State::Edit || m_state == State::Insert)
        return;
    if (m_readOnly)
        throw DatabaseError(tr("Podatkov te poizvedbe ni mogoče spreminjati."), sql());
    requireRow(QT_TR_NOOP("urejati"));
    m_buffer = rowValues(m_visible[m_current]);
    m_changed.assign(m_fields.size(), false);
    setState(State::Edit);
}

void Dataset::append()
{
    if (!isOpen())
        throw DatabaseError(tr("Poizvedba ni odprta."), sql());
    if (m_readOnly)
        throw DatabaseError(tr("Podatkov te poizvedbe ni mogoče spreminjati."), sql());
    checkBrowseMode();
    m_beforeInsert = m_current;
    m_buffer = Row(m_fields.size());
    appendRow(m_buffer);
    m_visible.push_back(rawRowCount() - 1);
    m_current = recordCount() - 1;
    m_changed.assign(m_fields.size(), false);
    setState(State::Insert);
    notifyReset();
    Q_EMIT afterInsert();
    Q_EMIT afterScroll();
}

void Dataset::checkBrowseMode()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    if (std::find(m_changed.cbegin(), m_changed.cend(), true) != m_changed.cend())
        post();
    else
        cancel();
}

const Schema::Table &Dataset::writableTable() const
{
    const QString name = updateTable();
    const Schema::Table *table = Schema::table(name);
    if (!table)
        throw DatabaseError(tr("Podatkov te poizvedbe ni mogoče shraniti."), sql());
    return *table;
}

int Dataset::keyField(const Schema::Table &table) const
{
    const int key = fieldIndex(QString::fromLatin1(table.key));
    if (key < 0)
        throw DatabaseError(tr("Poizvedba nima ključa tabele %1.").arg(QString::fromLatin1(table.name)), sql());
    return key;
}

void Dataset::writeRow()
{
    if (m_memory)
        return;
    const Schema::Table &table = writableTable();
    std::vector<int> written;
    for (int f = 0; f < fieldCount(); ++f)
        if (m_changed[f] && !m_fields[f].calculation && table.column(m_fields[f].name))
            written.push_back(f);
    if (m_state == State::Edit) {
        if (!written.empty())
            updateRow(table, written);
        return;
    }
    insertRow(table, written);
}

// Optimistic: the row is written only while it still holds, in the columns being
// changed, the values it was read with; otherwise another workstation changed it meanwhile.
void Dataset::updateRow(const Schema::Table &table, const std::vector<int> &fields)
{
    const int row = m_visible[m_current];
    const int key = keyField(table);
    QStringList assignments;
    QStringList conditions{QString::fromLatin1(table.key) + QStringLiteral(" = ?")};
    QVariantList values;
    QVariantList originals{cell(row, key)};
    for (const int f : fields) {
        const Schema::Column &column = *table.column(m_fields[f].name);
        assignments << QString::fromLatin1(column.name) + QStringLiteral(" = ?");
        values << m_database->toDatabase(column, m_buffer[f]);
        conditions << m_database->sameValueCondition(column);
        originals << m_database->toCondition(column, cell(row, f));
    }
    const QSqlQuery query = m_database->runNative(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                                      .arg(QString::fromLatin1(table.name), assignments.join(QStringLiteral(", ")),
                                                           conditions.join(QStringLiteral(" AND "))),
                                                  values + originals);
    if (query.numRowsAffected() == 0)
        takeRowChangedElsewhere(table, row);
}

void Dataset::takeRowChangedElsewhere(const Schema::Table &table, int row)
{
    QSqlQuery fresh = m_database->runNative(QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(QString::fromLatin1(table.name),
                                                                                                 QString::fromLatin1(table.key)),
                                            {cell(row, keyField(table))});
    if (!fresh.next())
        throw RecordChangedError(tr("Vnosa ni mogoče shraniti, ker ga je medtem izbrisal drug uporabnik."));
    // The other workstation's values become the row as read: saving again writes the
    // user's values over them by choice, and cancelling shows them.
    Row values = rowValues(row);
    const QSqlRecord record = fresh.record();
    for (int i = 0; i < record.count(); ++i) {
        const int f = fieldIndex(record.fieldName(i));
        if (f >= 0 && !m_fields[f].calculation)
            values[f] = m_database->fromDatabase(table.column(record.fieldName(i)), fresh.value(i));
    }
    if (!m_calculations.empty())
        calculate(values, row);
    storeRow(row, values);
    throw RecordChangedError(tr("Vnosa ni mogoče shraniti, ker ga je medtem spremenil drug uporabnik. Vaši popravki so "
                                "ostali: če ga znova shranite, zapišete svoje podatke čez njegove, če jih prekličete, "
                                "vidite njegove."));
}

void Dataset::insertRow(const Schema::Table &table, const std::vector<int> &fields)
{
    const QString tableName = QString::fromLatin1(table.name);
    QStringList columns;
    QVariantList values;
    for (const int f : fields) {
        const Schema::Column &column = *table.column(m_fields[f].name);
        columns << QString::fromLatin1(column.name);
        values << m_database->toDatabase(column, m_buffer[f]);
    }
    const QString insert = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING *").arg(tableName)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING *")
              .arg(tableName, columns.join(QStringLiteral(", ")), QStringList(columns.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    const QList<QSqlRecord> rows = m_database->runReturning(insert, values);
    // The database's own values of the new row: its key and the defaults.
    if (!rows.isEmpty()) {
        const QSqlRecord &record = rows.first();
        for (int i = 0; i < record.count(); ++i) {
            const int f = fieldIndex(record.fieldName(i));
            if (f >= 0 && !m_fields[f].calculation)
                m_buffer[f] = m_database->fromDatabase(m_fields[f].column ? m_fields[f].column : table.column(record.fieldName(i)),
                                                       record.value(i));
        }
    }
}

void Dataset::post()
{
    if (m_state != State::Edit && m_state != State::Insert)
        return;
    Q_EMIT beforePost();
    for (int attempt = 0;; ++attempt) {
        try {
            writeRow();
            break;
        } catch (const DatabaseError &error) {
            // Another workstation's doing (a changed row, a busy database), not the values':
            // no handler mends it by changing them. The edit stays.
            if (dynamic_cast<const ExpectedFailure *>(&error))
                throw;
            // Said in the user's words; the engine's own text comes on the second line.
            const DatabaseError refused(tr("Vnosa ni mogoče shraniti. Popravite podatke in poskusite znova."), error.sql(),
                                        error.driverText().isEmpty() ? error.message() : error.driverText());
            PostErrorAction action = PostErrorAction::Fail;
            Q_EMIT postError(refused, &action);
            if (action == PostErrorAction::Retry && attempt < MaxPostRetries)
                continue;
            if (action == PostErrorAction::Abort)
                return;
            // The row stays in edit, so nothing the user typed is lost.
            throw refused;
        }
    }
    const ChangeReason reason = m_state == State::Insert ? ChangeReason::AddNew : ChangeReason::Update;
    const int row = m_visible[m_current];
    storeRow(row, m_buffer);
    if (!m_calculations.empty()) {
        Row values = rowValues(row);
        calculate(values, row);
        storeRow(row, values);
    }
    m_buffer.clear();
    setState(State::Browse);
    if (!m_frozen)
        Q_EMIT rowValuesChanged(recNo());
    Q_EMIT afterPost();
    Q_EMIT recordChangeComplete(reason);
}

void Dataset::postOrCancel()
{
    try {
        post();
    } catch (...) {
        cancel();
        throw;
    }
}

void Dataset::cancel()
{
    if (m_state == State::Insert) {
        eraseRow(m_visible[m_current]);
        // Back to the row that was current before the new one.
        m_current = qMin(m_beforeInsert, recordCount() - 1);
        m_buffer.clear();
        setState(State::Browse);
        notifyReset();
    } else if (m_state == State::Edit) {
        m_buffer.clear();
        setState(State::Browse);
        notifyCurrent();
    } else {
        return;
    }
    Q_EMIT afterCancel();
}

void Dataset::deleteRecord()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    requireRow(QT_TR_NOOP("izbrisati"));
    if (m_readOnly)
        throw DatabaseError(tr("Podatkov te poizvedbe ni mogoče spreminjati."), sql());
    m_buffer.clear();
    setState(State::Browse);
    const int row = m_visible[m_current];
    if (!m_memory) {
        const Schema::Table &table = writableTable();
        m_database->runNative(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(QString::fromLatin1(table.name), QString::fromLatin1(table.key)),
                              {cell(row, keyField(table))});
    }
    eraseRow(row);
    m_current = qMin(m_current, recordCount() - 1);
    notifyReset();
    Q_EMIT recordChangeComplete(ChangeReason::Delete);
    Q_EMIT afterDelete();
    Q_EMIT afterScroll();
}

void Dataset::setFiltered(bool filtered)
{
    m_filtered = filtered;
    if (isOpen())
        refilter();
}

void Dataset::refilter(bool narrowing)
{
    if (!isOpen())
        return;
    checkBrowseMode();
    showFromFirst(narrowing);
    Q_EMIT afterScroll();
}

void Dataset::disableControls()
{
    ++m_frozen;
}

void Dataset::enableControls()
{
    if (m_frozen > 0 && --m_frozen == 0) {
        Q_EMIT rowsReset();
        Q_EMIT stateChanged();
        Q_EMIT currentChanged();
    }
}

void Dataset::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    if (!m_frozen)
        Q_EMIT stateChanged();
}

void Dataset::notifyReset()
{
    if (m_frozen)
        return;
    Q_EMIT rowsReset();
    Q_EMIT currentChanged();
}

void Dataset::notifyCurrent()
{
    if (!m_frozen)
        Q_EMIT currentChanged();
}
