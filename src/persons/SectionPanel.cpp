#include "SectionPanel.h"

#include "ColourScheme.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// A caption in the title colour with a one-pixel shadow, drawn directly: a graphics
// effect would render the caption again on every repaint of the window.
class ShadowedCaption : public QLabel
{
public:
    ShadowedCaption(const QString &text, QWidget *parent)
        : QLabel(text, parent)
    {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area = contentsRect().adjusted(0, 0, -1, -1);
        painter.setPen(ColourScheme.CT_WTitleBack.darker(180));
        painter.drawText(area.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, text());
        painter.setPen(ColourScheme.CT_WTitleFont);
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, text());
    }
};

}

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
    m_caption = new ShadowedCaption(caption, m_title);
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
