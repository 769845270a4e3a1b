#include "HotKeyEdit.h"

#include <QKeyEvent>
#include <QLineEdit>

HotKeyEdit::HotKeyEdit(QWidget *parent)
    : QKeySequenceEdit(parent)
{
    if (auto *field = findChild<QLineEdit *>())
        field->setPlaceholderText(tr("Pritisnite tipko"));
}

void HotKeyEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    switch (key) {
    case Qt::Key_Control:
    case Qt::Key_Shift:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_unknown:
        return;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers()
        & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier | Qt::KeypadModifier);
    if (key == Qt::Key_Backspace && !(modifiers & ~Qt::KeypadModifier))
        setKeySequence(QKeySequence());
    else
        setKeySequence(QKeySequence(QKeyCombination(modifiers, Qt::Key(key))));
    event->accept();
}
