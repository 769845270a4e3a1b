#include "FlatButton.h"

#include "ColourScheme.h"

#include <QPainter>

FlatButton::FlatButton(const QString &text, QWidget *parent)
    : QAbstractButton(parent)
{
    setText(text);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    QFont bold = font();
    bold.setBold(true);
    setFont(bold);
    setColours(schemeColours());
}

FlatButton::Colours FlatButton::schemeColours()
{
    return {ColourScheme.CT_BBack, ColourScheme.CT_BFocused, ColourScheme.CT_BDown, ColourScheme.CT_BFont,
            ColourScheme.CT_BFont};
}

void FlatButton::setColours(const Colours &colours)
{
    m_colours = colours;
    update();
}

QColor FlatButton::currentFace() const
{
    if (isDown() || isChecked())
        return m_colours.down;
    return m_hovered ? m_colours.focused : m_colours.face;
}

QSize FlatButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    int width = metrics.horizontalAdvance(text()) + 16;
    if (!icon().isNull())
        width += iconSize().width() + 4;
    return {qMax(width, 73), qMax(metrics.height() + 8, 21)};
}

void FlatButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), isEnabled() ? currentFace() : m_colours.face.lighter(120));
    painter.setPen(m_colours.border);
    painter.drawRect(frame);

    QRect content = rect().adjusted(4, 2, -4, -2);
    const QFontMetrics metrics(font());
    const int textWidth = metrics.horizontalAdvance(text());
    int left = content.left() + (content.width() - textWidth) / 2;
    if (!icon().isNull()) {
        const QSize size = iconSize();
        const int total = size.width() + 4 + textWidth;
        left = content.left() + qMax(0, (content.width() - total) / 2);
        icon().paint(&painter, QRect(QPoint(left, content.center().y() - size.height() / 2), size));
        left += size.width() + 4;
    }
    painter.setPen(isEnabled() ? m_colours.font : m_colours.font.darker(130));
    painter.drawText(QRect(left, content.top(), content.right() - left + 1, content.height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextShowMnemonic, text());
}

void FlatButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void StyleButtons(QWidget *window)
{
    const FlatButton::Colours colours = FlatButton::schemeColours();
    for (FlatButton *button : window->findChildren<FlatButton *>(Qt::FindDirectChildrenOnly))
        button->setColours(colours);
}
