#pragma once

#include <QAbstractButton>
#include <QColor>

// A flat button that the mouse alone presses: it takes no keyboard focus.
// Colours: face, face under the mouse, face when pressed, border, text.
class FlatButton : public QAbstractButton
{
    Q_OBJECT
public:
    struct Colours
    {
        QColor face;
        QColor focused;
        QColor down;
        QColor border;
        QColor font;
    };

    explicit FlatButton(const QString &text = QString(), QWidget *parent = nullptr);

    // The button colours of the current colour scheme.
    static Colours schemeColours();

    void setColours(const Colours &colours);
    const Colours &colours() const { return m_colours; }
    QColor currentFace() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    Colours m_colours;
    bool m_hovered = false;
};

// Gives the flat buttons placed directly on a window (not inside its panels) the scheme's colours.
void StyleButtons(QWidget *window);
