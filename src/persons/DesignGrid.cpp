#include "DesignGrid.h"

#include "Settings.h"

#include <QVBoxLayout>

namespace {

QString rowName(int r)
{
    return QStringLiteral("PDesign%1").arg(r);
}

QString cellName(int r, int k)
{
    return QStringLiteral("PDesign%1_%2").arg(r).arg(k);
}

} // namespace

DesignGrid::DesignGrid(QWidget *parent)
    : QSplitter(Qt::Vertical, parent)
{
    setObjectName(QStringLiteral("PDesign"));
    setChildrenCollapsible(false);
    for (int r = 1; r <= 3; ++r) {
        auto *row = new QSplitter(Qt::Horizontal, this);
        row->setObjectName(rowName(r));
        row->setChildrenCollapsible(false);
        for (int k = 1; k <= 3; ++k) {
            auto *cell = new QWidget(row);
            cell->setObjectName(cellName(r, k));
            auto *layout = new QVBoxLayout(cell);
            layout->setContentsMargins(0, 0, 0, 0);
            row->addWidget(cell);
        }
        addWidget(row);
        // The handle before a cell is the splitter after the one before it.
        row->handle(1)->setObjectName(QStringLiteral("SplitterD%1_1").arg(r));
        row->handle(2)->setObjectName(QStringLiteral("SplitterD%1_2").arg(r));
    }
    handle(1)->setObjectName(QStringLiteral("SplitterD1"));
    handle(2)->setObjectName(QStringLiteral("SplitterD2"));
}

QSplitter *DesignGrid::row(int r) const
{
    return qobject_cast<QSplitter *>(widget(r - 1));
}

QWidget *DesignGrid::cell(int r, int k) const
{
    QSplitter *cells = row(r);
    return cells ? cells->widget(k - 1) : nullptr;
}

void DesignGrid::showAll()
{
    for (int r = 1; r <= 3; ++r) {
        row(r)->show();
        setRowFills(r, true);
        for (int k = 1; k <= 3; ++k) {
            cell(r, k)->show();
            setCellFills(r, k, true);
        }
    }
}

void DesignGrid::setCellFills(int r, int k, bool fills)
{
    row(r)->setStretchFactor(k - 1, fills ? 1 : 0);
}

void DesignGrid::setRowFills(int r, bool fills)
{
    setStretchFactor(r - 1, fills ? 1 : 0);
}

void DesignGrid::ensureCellWidth(int r, int k, int width)
{
    int *widths = m_widths[r - 1];
    if (widths[k - 1] > 0)
        return;
    widths[k - 1] = width;
    row(r)->setSizes({widths[0], widths[1], widths[2]});
}

void DesignGrid::saveSizes(const QString &key) const
{
    for (int r = 1; r <= 3; ++r) {
        const QList<int> widths = row(r)->sizes();
        WriteRegString(key, rowName(r) + QStringLiteral(".Height"),
                       QString::number(row(r)->isHidden() ? 0 : sizes().value(r - 1)));
        for (int k = 1; k <= 3; ++k)
            WriteRegString(key, cellName(r, k) + QStringLiteral(".Width"), QString::number(widths.value(k - 1)));
    }
}

void DesignGrid::restoreSizes(const QString &key)
{
    for (int r = 1; r <= 3; ++r) {
        m_heights[r - 1] = ReadRegInt(key, rowName(r) + QStringLiteral(".Height"), 0);
        for (int k = 1; k <= 3; ++k)
            m_widths[r - 1][k - 1] = ReadRegInt(key, cellName(r, k) + QStringLiteral(".Width"), 0);
        row(r)->setSizes({m_widths[r - 1][0], m_widths[r - 1][1], m_widths[r - 1][2]});
    }
}

void DesignGrid::applyStoredHeights()
{
    for (int r = 1; r <= 3; ++r)
        if (row(r)->isHidden() != (m_heights[r - 1] <= 0))
            return;
    setSizes({m_heights[0], m_heights[1], m_heights[2]});
}
