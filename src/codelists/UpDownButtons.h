#pragma once

#include <QWidget>

class QToolButton;

// Two small arrow buttons stacked on each other, beside a field: the upper one moves
// something up, the lower one down. They repeat while held and take no focus, so the
// field keeps it.
class UpDownButtons : public QWidget
{
    Q_OBJECT
public:
    explicit UpDownButtons(QWidget *parent = nullptr);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

Q_SIGNALS:
    void topClicked();
    void bottomClicked();

private:
    QToolButton *m_up;
    QToolButton *m_down;
};
