#pragma once

#include <QComboBox>

// A box for a name part (title, first, middle or surname, function): typed freely, with
// the names known so far in its list.
class NameComboBox : public QComboBox
{
    Q_OBJECT
public:
    NameComboBox(const char *name, QWidget *parent = nullptr);

    // Writes the typed name with a capital first letter and the rest in lower case, when
    // the user wants names so; the caret and the selection stay. True when it changed.
    bool capitalise();

    // Adds a name to the list, in order, unless it is blank or already there.
    void addName(const QString &name);
    QStringList names() const;
};
