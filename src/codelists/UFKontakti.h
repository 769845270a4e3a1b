#pragma once

#include "CodeListWindow.h"

class ContactKindComboBox;
class PictureLink;
class UpDownButtons;

// "Kontakti": the types of contact a person can have (telephone, e-mail, ...), each of
// a kind and with a picture, in the order in which a person's contacts are listed.
class TFKontakti : public CodeListWindow
{
    Q_OBJECT
public:
    explicit TFKontakti(QWidget *parent = nullptr);

    PictureLink *picture() const { return m_picture; }

    // Move the current type one place up (towards the first) or down the order.
    void RxSpinButton1TopClick();
    void RxSpinButton1BottomClick();

    UpDownButtons *RxSpinButton1;
    ContactKindComboBox *DBComboBox1;

private:
    void moveInOrder(bool up);

    PictureLink *m_picture;
};
