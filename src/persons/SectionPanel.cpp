#include "SectionPanel.h"

#include "ColourScheme.h"

#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

SectionPanel::SectionPanel(const QString &name, const QString &caption, const QString &icon, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(name);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_title = new QWidget(this);
    m_title->setObjectName(name + QStringLiteral("Title"));
    m_title->setFixedHeight(22);
    m_title->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:1 %3); }")
                               .arg(m_title->objectName(), ColourScheme.CT_WTitleBack.name(), ColourScheme.CT_WTitleFont.name()));
    m_title->setAttribute(Qt::WA_StyledBackground);
    auto *titleLayout = new QHBoxLayout(m_title);
    titleLayout->setContentsMargins(4, 1, 4, 1);
    titleLayout->setSpacing(4);
    auto *picture = new QLabel(m_title);
    picture->setPixmap(QIcon(icon).pixmap(16, 16));
    titleLayout->addWidget(picture);
    m_caption = new QLabel(caption, m_title);
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);
    m_caption->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(ColourScheme.CT_WTitleFont.name()));
    auto *shadow = new QGraphicsDropShadowEffect(m_caption);
    shadow->setOffset(1, 1);
    shadow->setBlurRadius(0);
    shadow->setColor(ColourScheme.CT_WTitleBack.darker(180));
    m_caption->setGraphicsEffect(shadow);
    titleLayout->addWidget(m_caption, 1);
    layout->addWidget(m_title);

    m_data = new QWidget(this);
    m_data->setObjectName(name + QStringLiteral("Data"));
    layout->addWidget(m_data, 1);
}

QString SectionPanel::caption() const
{
    return m_caption->text();
}
