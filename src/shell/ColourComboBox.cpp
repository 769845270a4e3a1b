#include "ColourComboBox.h"

#include "ColourScheme.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

QIcon swatch(const QColor &colour)
{
    QPixmap picture(16, 12);
    picture.fill(colour);
    QPainter painter(&picture);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, 15, 11);
    return QIcon(picture);
}

}

ColourComboBox::ColourComboBox(QWidget *parent)
    : QComboBox(parent)
{
    const std::pair<Qt::GlobalColor, const char *> colours[] = {
        {Qt::black, QT_TR_NOOP("Črna")},        {Qt::darkRed, QT_TR_NOOP("Temno rdeča")},
        {Qt::darkGreen, QT_TR_NOOP("Temno zelena")}, {Qt::darkYellow, QT_TR_NOOP("Olivna")},
        {Qt::darkBlue, QT_TR_NOOP("Mornarsko modra")}, {Qt::darkMagenta, QT_TR_NOOP("Vijolična")},
        {Qt::darkCyan, QT_TR_NOOP("Modrozelena")}, {Qt::gray, QT_TR_NOOP("Siva")},
        {Qt::lightGray, QT_TR_NOOP("Srebrna")},  {Qt::red, QT_TR_NOOP("Rdeča")},
        {Qt::green, QT_TR_NOOP("Zelena")},       {Qt::yellow, QT_TR_NOOP("Rumena")},
        {Qt::blue, QT_TR_NOOP("Modra")},         {Qt::magenta, QT_TR_NOOP("Roza")},
        {Qt::cyan, QT_TR_NOOP("Svetlo modra")},  {Qt::white, QT_TR_NOOP("Bela")},
    };
    for (const auto &[colour, name] : colours)
        addColour(ColourToRef(QColor(colour)), tr(name));
    addItem(tr("Druga barva ..."));
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index == count() - 1)
            chooseOther();
        else {
            m_lastIndex = index;
            Q_EMIT colourChosen(colourRef());
        }
    });
}

// The reference is kept as given: a system colour or a stored value with its high byte
// set comes back unchanged.
void ColourComboBox::addColour(qint64 ref, const QString &name)
{
    insertItem(count() > 0 && itemData(count() - 1).isNull() ? count() - 1 : count(), swatch(ColourFromRef(ref)), name, ref);
}

qint64 ColourComboBox::colourRef() const
{
    return currentIndex() >= 0 ? itemData(currentIndex()).toLongLong() : 0;
}

void ColourComboBox::setColourRef(qint64 ref)
{
    int index = findData(ref);
    if (index < 0) {
        addColour(ref, ColourFromRef(ref).name());
        index = findData(ref);
    }
    setCurrentIndex(index);
    m_lastIndex = index;
}

void ColourComboBox::chooseOther()
{
    const QColor chosen = QColorDialog::getColor(ColourFromRef(itemData(m_lastIndex).toLongLong()), this);
    if (!chosen.isValid()) {
        setCurrentIndex(m_lastIndex);
        return;
    }
    setColourRef(ColourToRef(chosen));
    Q_EMIT colourChosen(colourRef());
}
