#pragma once

#include "PanelDesign.h"

#include <QFrame>
#include <QListWidget>
#include <QPixmap>

class QMimeData;

namespace PanelDesign {

class DesignerCell;
class UnplacedList;

// The designer of the person window's layout: a framed 3 by 3 grid of cells at the
// left and, at the right, the list of the sections not placed. Sections are dragged
// from the list into the cells, between cells and back to the list.
class PanelDesigner : public QWidget
{
    Q_OBJECT
public:
    explicit PanelDesigner(QWidget *parent = nullptr);

    // Fills the table from a "Design" value (a blank one gives the default).
    void load(const QString &designText);
    QString designText() const { return m_table.design(); }

    const PanelTable &table() const { return m_table; }
    // Cells 1 to 9, in reading order.
    DesignerCell *cell(int number) const { return m_cells.value(number - 1); }
    QListWidget *list() const;
    int markedCell() const { return m_marked; }
    const QPixmap &picture(int imageIndex) const;

    // What a drag carries: the list (source 0) or the cell it started from.
    static QMimeData *dragData(int sourceCell);
    // The source of a drag this designer started, -1 for anything else.
    static int dragSource(const QMimeData *data);

    // The drop rules: a cell takes sections from the list or a cell; the list only from a cell.
    void dropOnCell(int target, int source);
    void dropOnList(int source);
    void mark(int cell);

private:
    void refresh();

    PanelTable m_table;
    QList<DesignerCell *> m_cells;
    UnplacedList *m_list = nullptr;
    QList<QPixmap> m_pictures;
    int m_marked = 0;
};

// A cell of the grid, holding the picture of its section.
class DesignerCell : public QFrame
{
    Q_OBJECT
public:
    DesignerCell(PanelDesigner *designer, int number);

    int number() const { return m_number; }
    void setPicture(const QPixmap &picture);
    void clearPicture();
    // The picture's widget: hidden while the cell is empty.
    QWidget *pictureWidget() const { return m_picture; }
    void setMarked(bool marked);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PanelDesigner *m_designer;
    int m_number;
    QWidget *m_picture;
    QPoint m_pressedAt;
};

// The list of sections not placed; each item reads "ID;ImageIndex;FullName".
class UnplacedList : public QListWidget
{
    Q_OBJECT
public:
    explicit UnplacedList(PanelDesigner *designer);

    // The ID of the selected item, 0 when none is.
    int selectedPanel() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    PanelDesigner *m_designer;
    QPoint m_pressedAt;
};

} // namespace PanelDesign
