#include "ContactKindComboBox.h"

ContactKindComboBox::ContactKindComboBox(QWidget *parent)
    : QComboBox(parent)
{
    const QString names[] = {tr("Neznano"), tr("Elektronski naslov"), tr("Internetni naslov"), tr("Telefonska številka"),
                             tr("Mobilni telefon"), tr("Fax"), tr("Naslov"), tr("Oseba")};
    for (int kind = 0; kind < int(std::size(names)); ++kind)
        addItem(names[kind], kind);
    setPlaceholderText(tr("ni izbrano"));
    setCurrentIndex(-1);
}

int ContactKindComboBox::kind() const
{
    return currentIndex() < 0 ? 0 : currentData().toInt();
}

void ContactKindComboBox::setKind(int kind)
{
    setCurrentIndex(findData(kind));
}
