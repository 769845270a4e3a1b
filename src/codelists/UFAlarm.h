#pragma once

#include "SoleInstance.h"

#include <QColor>
#include <QDialog>

class FlatButton;
class QLabel;
class QTimer;

// "Alarm": an alarm told in its own colours, with its picture, until "Zapri". A flashing
// alarm swaps its text and background colours three times a second.
class TFAlarm : public QDialog
{
    Q_OBJECT
public:
    explicit TFAlarm(QWidget *parent = nullptr);

    // Shows the alarm modally; without a picture file the picture's place is left out.
    void showAlarm(const QString &text, const QString &caption, bool flashing, const QColor &textColour, const QColor &backColour,
                   const QString &picturePath);

    void Timer1Timer();

    QWidget *Panel1; // the main area, in the background colour
    QLabel *Image1;
    QLabel *Label1;
    FlatButton *BitBtn1;
    QTimer *Timer1;

private:
    QColor m_textColour;
    QColor m_backColour;
    bool m_flashing = false;
    SoleInstance<TFAlarm> m_instance;
};

extern TFAlarm *FAlarm;
