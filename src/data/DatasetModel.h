#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QPointer>

class Dataset;
class QAbstractItemView;

// Shows the rows of a dataset in a view: chosen fields as columns, each with a title and
// an alignment. Only the rows a view asks for are read, so a long result costs nothing
// until it is scrolled. A view attached to the model follows the dataset's current row,
// and choosing a row in the view moves the dataset there.
class DatasetModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Column
    {
        QString field;
        QString title;
        Qt::Alignment alignment = Qt::AlignLeft;
        bool visible = true;
        QColor colour = {}; // of the values; none: the view's own
        bool bold = false;  // the values in bold
        QColor titleColour = {};
        bool titleBold = false;
    };

    explicit DatasetModel(Dataset *dataset, QObject *parent = nullptr);

    void setColumns(const QList<Column> &columns);
    // Changes how the column titles look (a sorted column's title is marked, say).
    void setTitleStyle(int column, bool bold, const QColor &colour);
    const QList<Column> &columns() const { return m_columns; }

    void attach(QAbstractItemView *view);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // How a value reads in a list: dates as dd.MM.yyyy (with the time when it has one).
    static QString displayText(const QVariant &value);

private:
    void reset();
    void rowChanged(int recNo);
    void selectCurrent();

    Dataset *m_dataset;
    QList<Column> m_columns;
    QList<int> m_fieldIndexes;
    QList<QPointer<QAbstractItemView>> m_views;
    bool m_following = false;
};
