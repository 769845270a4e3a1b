#pragma once

#include <QSplitter>

// The grid of the person window's first tab: three rows (PDesign1 to PDesign3) stacked
// from the top, each of three cells (PDesign<r>_1 to PDesign<r>_3) from the left, the
// rows and the cells divided by splitters. The layout puts record sections into the cells.
class DesignGrid : public QSplitter
{
    Q_OBJECT
public:
    explicit DesignGrid(QWidget *parent = nullptr);

    // Rows and cells counted from 1.
    QSplitter *row(int r) const;
    QWidget *cell(int r, int k) const;

    // Everything shown, every cell and row filling alike.
    void showAll();
    // Cell k of row r fills what the row leaves it, or keeps its own width.
    void setCellFills(int r, int k, bool fills);
    void setRowFills(int r, bool fills);

    // A cell given a section is at least this wide to start with.
    void ensureCellWidth(int r, int k, int width);

    // The rows' heights (0 for a hidden row) and the cells' widths, kept between runs
    // under the window's key.
    void saveSizes(const QString &key) const;
    // Reads them: the widths are the cells' start widths; the heights count once the
    // rows are shown or hidden, through applyStoredHeights.
    void restoreSizes(const QString &key);
    // The rows take their stored heights when the same rows were shown when they were
    // stored; otherwise they share the height as their sections need.
    void applyStoredHeights();

private:
    // The cells' start widths and the rows' heights, 0 for none known.
    int m_widths[3][3] = {};
    int m_heights[3] = {};
};
