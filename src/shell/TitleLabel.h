#pragma once

#include <QWidget>

// A line of text that fills its place and is cut with "…" when it does not fit. Its
// size follows its place, not its text, so that a new text (a title changing with every
// row chosen) repaints only the label instead of laying out the window again.
class TitleLabel : public QWidget
{
    Q_OBJECT
public:
    explicit TitleLabel(QWidget *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};
