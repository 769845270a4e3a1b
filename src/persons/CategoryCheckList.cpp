#include "CategoryCheckList.h"

#include "Dataset.h"
#include "PictureFiles.h"
#include "PublicFunctions.h"

#include <QApplication>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>

namespace {

const int itemHeight = 18;

// The check box, then the picture 16 by 16 at 20 pixels and the name 18 further; a
// category without a picture has its name at 20 pixels.
class CategoryItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : QApplication::style();
        // The check box where the style takes clicks on it.
        QStyleOptionViewItem check = item;
        check.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &item, widget);
        switch (item.checkState) {
        case Qt::Checked: check.state |= QStyle::State_On; break;
        case Qt::PartiallyChecked: check.state |= QStyle::State_NoChange; break;
        default: check.state |= QStyle::State_Off; break;
        }
        // The background and the selection, without the text.
        item.text.clear();
        item.features &= ~QStyleOptionViewItem::HasCheckIndicator;
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &check, painter, widget);

        const QString text = index.data(Qt::UserRole).toString();
        const QPixmap picture = PictureFile(QStringLiteral("Kategorije"), GetToken(text, QStringLiteral(";"), 2));
        int captionLeft = option.rect.left() + 20;
        if (!picture.isNull()) {
            painter->drawPixmap(QRect(captionLeft, option.rect.top() + (option.rect.height() - 16) / 2, 16, 16), picture);
            captionLeft += 18;
        }
        painter->setFont(option.font);
        painter->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color() : option.palette.text().color());
        const QRect caption(captionLeft, option.rect.top(), option.rect.right() - captionLeft, option.rect.height());
        painter->drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width() + 40, itemHeight};
    }
};

}

CategoryCheckList::CategoryCheckList(bool withCompanyItem, QWidget *parent)
    : QListWidget(parent)
    , m_withCompanyItem(withCompanyItem)
{
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setUniformItemSizes(true);
    setItemDelegate(new CategoryItemDelegate(this));
}

QString CategoryCheckList::itemField(const QListWidgetItem *item, int field)
{
    return GetToken(item->data(Qt::UserRole).toString(), QStringLiteral(";"), field);
}

QListWidgetItem *CategoryCheckList::itemOf(const QString &firstField) const
{
    for (int i = count() - 1; i >= 0; --i)
        if (itemField(item(i), 1) == firstField)
            return item(i);
    return nullptr;
}

QListWidgetItem *CategoryCheckList::addItem(const QString &text, const QString &caption)
{
    auto *entry = new QListWidgetItem(caption, this);
    entry->setData(Qt::UserRole, text);
    entry->setFlags(entry->flags() | Qt::ItemIsUserCheckable);
    entry->setCheckState(Qt::Unchecked);
    return entry;
}

QList<std::pair<QString, Qt::CheckState>> CategoryCheckList::states() const
{
    QList<std::pair<QString, Qt::CheckState>> result;
    for (int i = 0; i < count(); ++i)
        result.append({itemField(item(i), 1), item(i)->checkState()});
    return result;
}

void CategoryCheckList::untickAll()
{
    const QSignalBlocker blocker(this);
    for (int i = 0; i < count(); ++i)
        item(i)->setCheckState(Qt::Unchecked);
}

void CategoryCheckList::FillCategoryList(Dataset *categories, bool keepStates)
{
    const QString states = keepStates ? GetCategoryCheckStates() : QString();
    if (!categories->isOpen())
        categories->open();
    const QSignalBlocker blocker(this);
    clear();
    if (m_withCompanyItem)
        addItem(QStringLiteral("P;;") + tr("Podjetje"), tr("Podjetje"));
    const int id = categories->fieldIndex(QStringLiteral("IDkat"));
    const int picture = categories->fieldIndex(QStringLiteral("IkonaPath"));
    const int name = categories->fieldIndex(QStringLiteral("Naziv"));
    for (int recNo = 1; recNo <= categories->recordCount(); ++recNo) {
        const QString caption = categories->valueAt(recNo, name).toString();
        if (!caption.trimmed().isEmpty())
            addItem(categories->valueAt(recNo, id).toString() + QLatin1Char(';') + categories->valueAt(recNo, picture).toString()
                        + QLatin1Char(';') + caption,
                    caption);
    }
    if (keepStates)
        SetCategoryCheckStates(states);
}

QString CategoryCheckList::GetCategoryCheckStates() const
{
    QStringList entries;
    for (const auto &[first, state] : states())
        if (state != Qt::Unchecked)
            entries << first + (state == Qt::Checked ? QStringLiteral(";1") : QStringLiteral(";0"));
    return entries.join(QLatin1Char('/'));
}

void CategoryCheckList::SetCategoryCheckStates(const QString &states)
{
    const QSignalBlocker blocker(this);
    for (const QString &entry : states.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (QListWidgetItem *found = itemOf(GetToken(entry, QStringLiteral(";"), 1)))
            found->setCheckState(GetToken(entry, QStringLiteral(";"), 2) == QLatin1String("0") ? Qt::PartiallyChecked : Qt::Checked);
    }
}
