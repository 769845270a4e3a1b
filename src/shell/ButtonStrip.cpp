#include "ButtonStrip.h"

#include "ColourScheme.h"
#include "FlatButton.h"

#include <QHBoxLayout>

ButtonStrip::ButtonStrip(QWidget *parent)
    : QWidget(parent)
    , m_layout(new QHBoxLayout(this))
{
    setObjectName(QStringLiteral("Panel1"));
    setAutoFillBackground(true);
    QPalette strip = palette();
    strip.setColor(QPalette::Window, ColourScheme.CT_WTitleBack);
    setPalette(strip);
    m_layout->setContentsMargins(8, 6, 8, 6);
}

FlatButton *ButtonStrip::addButton(const char *name, const QString &caption, int stretch)
{
    auto *button = new FlatButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    m_layout->addWidget(button, stretch);
    return button;
}

void ButtonStrip::addStretch()
{
    m_layout->addStretch();
}
