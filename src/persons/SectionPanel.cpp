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

    auto *title = new QWidget(this);
    title->setObjectName(name + QStringLiteral("Title"));
    title->setFixedHeight(22);
    title->setStyleSheet(QStringLiteral("#%1 { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 %2, stop:1 %3); }")
                               .arg(title->objectName(), ColourScheme.CT_WTitleBack.name(), ColourScheme.CT_WTitleFont.name()));
    title->setAttribute(Qt::WA_StyledBackground);
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(4, 1, 4, 1);
    titleLayout->setSpacing(4);
    auto *picture = new QLabel(title);
    picture->setPixmap(QIcon(icon).pixmap(16, 16));
    titleLayout->addWidget(picture);
    auto *shownCaption = new ShadowedCaption(caption, title);
    titleLayout->addWidget(shownCaption, 1);
    layout->addWidget(title);

    m_data = new QWidget(this);
    m_data->setObjectName(name + QStringLiteral("Data"));
    layout->addWidget(m_data, 1);
}
