#include "TextLengthLimit.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>

void LimitTextLength(QPlainTextEdit *edit, int maxLength)
{
    if (maxLength <= 0)
        return;
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit, maxLength] {
        const QString text = edit->toPlainText();
        if (text.size() <= maxLength)
            return;
        QTextCursor cursor = edit->textCursor();
        const int position = cursor.position();
        // What was just put in goes, back to the limit; the text around it stays.
        const int excess = int(text.size()) - maxLength;
        const int start = qMax(0, position - excess);
        QString kept = text;
        kept.remove(start, position - start);
        if (kept.size() > maxLength)
            kept.truncate(maxLength);
        {
            const QSignalBlocker blocker(edit);
            edit->setPlainText(kept);
        }
        cursor = edit->textCursor();
        cursor.setPosition(qMin(start, int(kept.size())));
        edit->setTextCursor(cursor);
        // Those who took the longer text take the kept one.
        Q_EMIT edit->textChanged();
    });
}
