#pragma once

#include <QKeySequenceEdit>

// A shortcut field for one key with its modifiers: every key pressed replaces the last
// at once, without waiting for a sequence to end. Backspace alone empties it.
class HotKeyEdit : public QKeySequenceEdit
{
    Q_OBJECT
public:
    explicit HotKeyEdit(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
