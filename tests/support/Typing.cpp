#include "Typing.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        const int key = c.isLetterOrNumber() && c.unicode() < 0x80 ? c.toUpper().unicode() : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}
