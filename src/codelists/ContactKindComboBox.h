#pragma once

#include <QComboBox>

// The kinds of contact, "Neznano" (0) to "Oseba" (7), each item holding its number;
// "ni izbrano" shows while no kind is chosen.
class ContactKindComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit ContactKindComboBox(QWidget *parent = nullptr);

    // The chosen kind's number, 0 when none is chosen.
    int kind() const;
    void setKind(int kind);
};
