#include "ContactKindComboBox.h"

#include "PublicFunctions.h"

#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// Draws only the part of an item before "=".
class KindDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = GetToken(option->text, QStringLiteral("="), 1);
    }
};

}

ContactKindComboBox::ContactKindComboBox(QWidget *parent)
    : QComboBox(parent)
{
    addItems(kindItems());
    setItemDelegate(new KindDelegate(this));
    setCurrentIndex(-1);
}

QStringList ContactKindComboBox::kindItems()
{
    return {tr("Neznano=0"), tr("Elektronski naslov=1"), tr("Internetni naslov=2"), tr("Telefonska številka=3"),
            tr("Mobilni telefon=4"), tr("Fax=5"), tr("Naslov=6"), tr("Oseba=7")};
}

int ContactKindComboBox::kind() const
{
    return currentIndex() < 0 ? 0 : GetToken(currentText(), QStringLiteral("="), 2).toInt();
}

void ContactKindComboBox::setKind(int kind)
{
    for (int i = 0; i < count(); ++i)
        if (GetToken(itemText(i), QStringLiteral("="), 2).toInt() == kind)
            return setCurrentIndex(i);
    setCurrentIndex(-1);
}

void ContactKindComboBox::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = currentIndex() < 0 ? tr("ni izbrano") : GetToken(currentText(), QStringLiteral("="), 1);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}
