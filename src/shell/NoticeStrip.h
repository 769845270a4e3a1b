#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

// A strip along the bottom of the main window that scrolls a notice across once,
// right to left, and hides when the text has passed.
class NoticeStrip : public QWidget
{
    Q_OBJECT
public:
    explicit NoticeStrip(QWidget *parent = nullptr);

    void setText(const QString &text) { m_text = text; }
    const QString &text() const { return m_text; }
    void setSpeed(int pixelsPerSecond) { m_speed = pixelsPerSecond; }

    // Shows the strip and starts the scrolling; a blank text leaves the strip hidden and still.
    void play();
    bool isPlaying() const { return m_timer.isActive(); }

    QSize sizeHint() const override;

Q_SIGNALS:
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void step();

    QString m_text;
    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_speed = 80;
    qreal m_startOffset = 0;
    qreal m_offset = 0;
};
