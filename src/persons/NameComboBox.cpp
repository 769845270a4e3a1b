#include "NameComboBox.h"

#include "NameRules.h"
#include "Settings.h"
#include "TextCollation.h"

#include <QLineEdit>

NameComboBox::NameComboBox(const char *name, QWidget *parent)
    : QComboBox(parent)
{
    setObjectName(QString::fromLatin1(name));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(16);
}

bool NameComboBox::capitalise()
{
    if (!AutoShiftNames)
        return false;
    QLineEdit *edit = lineEdit();
    const QString text = edit->text();
    const QString capitalised = CapitaliseName(text);
    if (capitalised == text)
        return false;
    const int cursor = edit->cursorPosition();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = int(edit->selectedText().size());
    edit->setText(capitalised);
    if (selectionStart >= 0)
        edit->setSelection(selectionStart, selectionLength);
    else
        edit->setCursorPosition(cursor);
    return true;
}

void NameComboBox::addName(const QString &name)
{
    const QString text = name.trimmed();
    if (text.isEmpty() || findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        return;
    int at = 0;
    while (at < count() && TextCollation::compare(itemText(at), text) < 0)
        ++at;
    const QString current = currentText();
    insertItem(at, text);
    setEditText(current);
}

QStringList NameComboBox::names() const
{
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}
