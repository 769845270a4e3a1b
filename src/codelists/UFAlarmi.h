#pragma once

#include "CodeListWindow.h"

class ColourComboBox;
class LookupComboBox;
class PictureLink;
class QCheckBox;
class QSpinBox;

// "Alarmi": the types of alarm a person's dates can raise, each with its repetition, how
// many days ahead it warns, its colours, flashing and picture; "Primer" shows one.
class TFAlarmi : public CodeListWindow
{
    Q_OBJECT
public:
    explicit TFAlarmi(QWidget *parent = nullptr);

    PictureLink *picture() const { return m_picture; }

    // The colours and the day count are not bound: they are shown on moving to a row and
    // saved with the row as soon as the user changes one.
    void ColorComboBox1Change();
    void ColorComboBox2Change();
    void RxSpinEdit1Change();
    void ADOQuery1AfterScroll();
    // "Primer": the current type's alarm, as it is on the screen.
    void FlatButton1Click();

    QLineEdit *DBEdit1;
    LookupComboBox *DBLookupComboBox1;
    QSpinBox *RxSpinEdit1;
    ColourComboBox *ColorComboBox1; // background
    ColourComboBox *ColorComboBox2; // text
    QCheckBox *DBCheckBox1;
    FlatButton *FlatButton1;

private:
    void saveAtOnce(const QString &field, const QVariant &value);

    PictureLink *m_picture;
    bool m_loading = false; // the row is being shown: changes are not the user's
};
