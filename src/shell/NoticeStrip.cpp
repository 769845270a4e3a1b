#include "NoticeStrip.h"

#include <QPainter>

NoticeStrip::NoticeStrip(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(27);
    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(10);
    setFont(bold);
    m_timer.setInterval(30);
    connect(&m_timer, &QTimer::timeout, this, &NoticeStrip::step);
    hide();
}

QSize NoticeStrip::sizeHint() const
{
    return {QWidget::sizeHint().width(), 27};
}

void NoticeStrip::play()
{
    if (m_text.trimmed().isEmpty()) {
        m_timer.stop();
        hide();
        return;
    }
    show();
    m_startOffset = m_offset = width();
    m_clock.start();
    m_timer.start();
    update();
}

void NoticeStrip::step()
{
    // The strip may get its width only after it is first laid out.
    if (m_startOffset <= 0)
        m_startOffset = width();
    m_offset = m_startOffset - m_clock.elapsed() * m_speed / 1000.0;
    if (m_offset + fontMetrics().horizontalAdvance(m_text) < 0) {
        m_timer.stop();
        hide();
        Q_EMIT finished();
        return;
    }
    update();
}

void NoticeStrip::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QColor(Qt::darkBlue));
    painter.drawText(QRectF(m_offset, 0, fontMetrics().horizontalAdvance(m_text) + 1, height()),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, m_text);
}
