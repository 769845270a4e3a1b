#pragma once

#include <QScrollArea>

#include <functional>
#include <vector>

class Dataset;
class DatasetBinder;

// A list whose every row shows one record of a dataset in controls of its own, so that
// values are changed in place. The rows share the list's height; the current record's
// row is marked, and clicking or typing into another row makes its record current
// (which saves the row edited before).
class RecordRowList : public QScrollArea
{
    Q_OBJECT
public:
    // Puts a row's controls into the row and binds them with the row's binder.
    using RowBuilder = std::function<void(QWidget *row, DatasetBinder *binder)>;

    RecordRowList(Dataset *dataset, RowBuilder builder, QWidget *parent = nullptr);

    // The list shows its height divided by this many pixels rows at once (the nearest
    // whole number), and never fewer than the minimum.
    void setRowsPerHeight(int pixelsPerRow, int minimumRows);
    int rowsShown() const;
    // The row of a record number, from 1; null when there is none.
    QWidget *row(int recNo) const;

Q_SIGNALS:
    // A double click in the list or on any control of a row.
    void doubleClicked();
    // The focus came to a control of the list.
    void entered();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    struct Row
    {
        QWidget *widget;
        DatasetBinder *binder;
    };

    void rebuild();
    void placeRows();
    void markCurrent();
    void watch(QWidget *widget);
    int recNoOf(QObject *object) const;

    Dataset *m_dataset;
    RowBuilder m_builder;
    QWidget *m_rows;
    std::vector<Row> m_pool; // rows beyond the records are kept hidden for the next person
    int m_shown = 0;
    bool m_stale = false; // the records changed while the list was not shown
    int m_pixelsPerRow = 0;
    int m_minimumRows = 1;
};
