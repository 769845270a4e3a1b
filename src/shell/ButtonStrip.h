#pragma once

#include <QWidget>

class FlatButton;
class QHBoxLayout;

// The strip below a window's body ("Panel1"), in the title colour, holding the
// window's flat buttons side by side.
class ButtonStrip : public QWidget
{
    Q_OBJECT
public:
    explicit ButtonStrip(QWidget *parent);

    // A button in the scheme's colours after those added before; a stretch above 0
    // makes it share the free width.
    FlatButton *addButton(const char *name, const QString &caption, int stretch = 0);
    // Pushes the buttons added after it to the right end.
    void addStretch();

private:
    QHBoxLayout *m_layout;
};
