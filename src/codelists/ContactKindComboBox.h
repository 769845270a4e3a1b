#pragma once

#include <QComboBox>

// The kinds of contact: items "Neznano=0" to "Oseba=7"; the list shows the part before
// "=", and "ni izbrano" while no kind is chosen.
class ContactKindComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ContactKindComboBox(QWidget *parent = nullptr);

    // The chosen kind's number, 0 when none is chosen.
    int kind() const;
    void setKind(int kind);

    static QStringList kindItems();

protected:
    void paintEvent(QPaintEvent *event) override;
};
