#include "ColourComboBox.h"

#include "ColourScheme.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

#include <iterator>

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

// The desktop's colours in the order of their index in a system colour reference.
const char *const systemColourNames[] = {
    QT_TRANSLATE_NOOP("ColourComboBox", "Drsnik"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Namizje"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Naslov aktivnega okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Naslov neaktivnega okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Meni"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Okno"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Okvir okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo menija"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo naslova"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Rob aktivnega okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Rob neaktivnega okna"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Delovna površina"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Izbira"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo izbire"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Ozadje gumba"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Senca gumba"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Sivo besedilo"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo gumba"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo neaktivnega naslova"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Osvetlitev gumba"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Temna senca"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Svetla senca"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Besedilo namiga"),
    QT_TRANSLATE_NOOP("ColourComboBox", "Ozadje namiga"),
};

}

ColourComboBox::ColourComboBox(QWidget *parent, Choices choices)
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
    if (choices == WithSystemColours) {
        const std::pair<qint64, const char *> extended[] = {
            {0xC0DCC0, QT_TR_NOOP("Denarno zelena")}, {0xF0CAA6, QT_TR_NOOP("Nebesno modra")},
            {0xF0FBFF, QT_TR_NOOP("Smetanova")},      {0xA4A0A0, QT_TR_NOOP("Srednje siva")},
        };
        for (const auto &[ref, name] : extended)
            addColour(ref, tr(name));
        for (int index = 0; index < int(std::size(systemColourNames)); ++index)
            addColour(SystemColourRef(index), tr(systemColourNames[index]));
    }
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
