#pragma once

#include <QComboBox>

// A choice of colour: the usual named colours, and "Druga barva ..." for any other.
// Values are colour references (0x00BBGGRR), as settings and tables keep them; with
// WithSystemColours also four more named colours and the desktop's own colours, whose
// references are negative (button face 0xFF00000F is -16777201).
class ColourComboBox : public QComboBox
{
    Q_OBJECT
public:
    enum Choices { StandardColours, WithSystemColours };

    explicit ColourComboBox(QWidget *parent = nullptr, Choices choices = StandardColours);

    qint64 colourRef() const;
    void setColourRef(qint64 ref);

Q_SIGNALS:
    void colourChosen(qint64 ref);

private:
    void addColour(qint64 ref, const QString &name);
    void chooseOther();
    int m_lastIndex = 0;
};
