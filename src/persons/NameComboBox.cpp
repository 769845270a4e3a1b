#include "NameComboBox.h"

#include "NameRules.h"
#include "Settings.h"
#include "TextCollation.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include <utility>

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

void NameComboBox::setNameSource(std::function<QStringList()> source)
{
    m_source = std::move(source);
}

void NameComboBox::readNames()
{
    if (!m_source)
        return;
    const QStringList names = std::exchange(m_source, {})();
    const QString current = currentText();
    const QSignalBlocker blocker(this);
    addItems(names);
    setEditText(current);
}

void NameComboBox::showPopup()
{
    readNames();
    QComboBox::showPopup();
}

void NameComboBox::focusInEvent(QFocusEvent *event)
{
    readNames();
    QComboBox::focusInEvent(event);
}

void NameComboBox::addName(const QString &name)
{
    const QString text = name.trimmed();
    if (m_source || text.isEmpty() || findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive) >= 0)
        return;
    int at = 0;
    while (at < count() && TextCollation::compare(itemText(at), text) < 0)
        ++at;
    const QString current = currentText();
    insertItem(at, text);
    setEditText(current);
}

QStringList NameComboBox::names()
{
    readNames();
    QStringList items;
    for (int i = 0; i < count(); ++i)
        items << itemText(i);
    return items;
}
