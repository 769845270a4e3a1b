#include "DatasetDelegate.h"

#include <QPainter>

namespace {

constexpr int TextMargin = 3;

}

void DatasetDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group = option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    if (selected)
        painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
    const QVariant fontRole = index.data(Qt::FontRole);
    const QFont font = fontRole.isValid() ? qvariant_cast<QFont>(fontRole) : option.font;
    const QVariant colourRole = index.data(Qt::ForegroundRole);
    const QColor colour = selected ? option.palette.color(group, QPalette::HighlightedText)
        : colourRole.isValid()     ? qvariant_cast<QColor>(colourRole)
                                   : option.palette.color(group, QPalette::Text);
    const QVariant alignmentRole = index.data(Qt::TextAlignmentRole);
    const Qt::Alignment alignment = alignmentRole.isValid() ? Qt::Alignment(alignmentRole.toInt()) : Qt::AlignLeft | Qt::AlignVCenter;
    const QRect area = option.rect.adjusted(TextMargin, 0, -TextMargin, 0);
    painter->save();
    painter->setFont(font);
    painter->setPen(colour);
    painter->drawText(area, int(alignment) | Qt::TextSingleLine,
                      QFontMetrics(font).elidedText(index.data(Qt::DisplayRole).toString(), Qt::ElideRight, area.width()));
    painter->restore();
}

QSize DatasetDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 2 * TextMargin, metrics.height() + 4};
}
