#pragma once

#include <QAbstractItemDelegate>

// Paints the cells of a dataset's list: the text on one line, cut with "…" where it does
// not fit, in the model's colour, font and alignment, on the row's selection. The general
// item delegate asks every cell for a dozen roles and lays its text out in full; a list
// repainted at every typed letter does better with less.
class DatasetDelegate : public QAbstractItemDelegate
{
    Q_OBJECT
public:
    using QAbstractItemDelegate::QAbstractItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};
