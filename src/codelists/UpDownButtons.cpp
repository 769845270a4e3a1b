#include "UpDownButtons.h"

#include <QToolButton>
#include <QVBoxLayout>

UpDownButtons::UpDownButtons(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const auto arrow = [this, layout](Qt::ArrowType type, const char *name) {
        auto *button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(name));
        button->setArrowType(type);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setIconSize(QSize(7, 7));
        layout->addWidget(button);
        return button;
    };
    m_up = arrow(Qt::UpArrow, "TopButton");
    m_down = arrow(Qt::DownArrow, "BottomButton");
    setFixedWidth(17);
    connect(m_up, &QToolButton::clicked, this, &UpDownButtons::topClicked);
    connect(m_down, &QToolButton::clicked, this, &UpDownButtons::bottomClicked);
}
