#include "DatasetModel.h"

#include "Dataset.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QFont>
#include <QItemSelectionModel>
#include <QScopedValueRollback>

DatasetModel::DatasetModel(Dataset *dataset, QObject *parent)
    : QAbstractTableModel(parent)
    , m_dataset(dataset)
{
    connect(dataset, &Dataset::rowsReset, this, &DatasetModel::reset);
    connect(dataset, &Dataset::currentChanged, this, &DatasetModel::selectCurrent);
    connect(dataset, &Dataset::rowValuesChanged, this, &DatasetModel::rowChanged);
    connect(dataset, &Dataset::currentValuesChanged, this, [this] { rowChanged(m_dataset->recNo()); });
}

void DatasetModel::setColumns(const QList<Column> &columns)
{
    // Titles and looks change with the columns, even over the same fields.
    m_columns = columns;
    m_fieldIndexes.clear();
    reset();
}

void DatasetModel::setTitleStyle(int column, bool bold, const QColor &colour)
{
    if (column < 0 || column >= m_columns.size())
        return;
    m_columns[column].titleBold = bold;
    m_columns[column].titleColour = colour;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void DatasetModel::reset()
{
    // Field positions change when the statement changes.
    QList<int> fieldIndexes;
    for (const Column &column : m_columns)
        fieldIndexes << m_dataset->fieldIndex(column.field);
    if (fieldIndexes == m_fieldIndexes && !m_fieldIndexes.isEmpty()) {
        // Other rows under the same columns: the headers stay as they are.
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList persistent = persistentIndexList();
        changePersistentIndexList(persistent, QModelIndexList(persistent.size()));
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    } else {
        beginResetModel();
        m_fieldIndexes = fieldIndexes;
        endResetModel();
    }
    selectCurrent();
}

void DatasetModel::rowChanged(int recNo)
{
    if (recNo >= 1)
        Q_EMIT dataChanged(index(recNo - 1, 0), index(recNo - 1, columnCount() - 1));
}

int DatasetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_dataset->isOpen() ? 0 : m_dataset->recordCount();
}

int DatasetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString DatasetModel::displayText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime moment = value.toDateTime();
        return moment.time() == QTime(0, 0) ? moment.toString(QStringLiteral("dd.MM.yyyy"))
                                            : moment.toString(QStringLiteral("dd.MM.yyyy hh:mm"));
    }
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    return value.toString();
}

QVariant DatasetModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_fieldIndexes.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return displayText(m_dataset->valueAt(index.row() + 1, m_fieldIndexes[index.column()]));
    case Qt::EditRole:
        return m_dataset->valueAt(index.row() + 1, m_fieldIndexes[index.column()]);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    case Qt::ForegroundRole:
        return m_columns[index.column()].colour.isValid() ? QVariant(m_columns[index.column()].colour) : QVariant();
    case Qt::FontRole:
        if (m_columns[index.column()].bold) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
    if (role == Qt::ForegroundRole && m_columns[section].titleColour.isValid())
        return m_columns[section].titleColour;
    if (role == Qt::FontRole) {
        QFont font;
        font.setBold(m_columns[section].titleBold);
        return font;
    }
    return {};
}

void DatasetModel::attach(QAbstractItemView *view)
{
    view->setModel(this);
    m_views << view;
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex &current) {
        if (m_following || !current.isValid())
            return;
        try {
            const QScopedValueRollback following(m_following, true);
            m_dataset->moveTo(current.row() + 1);
        } catch (...) {
            // The move did not happen (the row being left could not be saved, say): the
            // views go back to the dataset's row, and the error goes on to the user.
            selectCurrent();
            throw;
        }
    });
    selectCurrent();
}

void DatasetModel::selectCurrent()
{
    if (m_following)
        return;
    const QScopedValueRollback following(m_following, true);
    const int row = m_dataset->recNo() - 1;
    for (const QPointer<QAbstractItemView> &view : std::as_const(m_views)) {
        if (!view)
            continue;
        if (row < 0) {
            view->selectionModel()->clearCurrentIndex();
            continue;
        }
        const QModelIndex current = index(row, 0);
        view->selectionModel()->setCurrentIndex(current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(current);
    }
}
