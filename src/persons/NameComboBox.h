#pragma once

#include <QComboBox>

#include <functional>

// A box for a name part (title, first, middle or surname, function): typed freely, with
// the names known so far in its list. The list is read when the box is first used (given
// the focus, opened or asked for its names): reading it for every name field would cost
// the window of a large office its start.
class NameComboBox : public QComboBox
{
    Q_OBJECT
public:
    NameComboBox(const char *name, QWidget *parent = nullptr);

    // Writes the typed name with a capital first letter and the rest in lower case, when
    // the user wants names so; the caret and the selection stay. True when it changed.
    bool capitalise();

    void setNameSource(std::function<QStringList()> source);
    // Adds a name to a list already read, in order, unless it is blank or already there.
    void addName(const QString &name);
    QStringList names();

    void showPopup() override;

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void readNames();

    std::function<QStringList()> m_source;
};
