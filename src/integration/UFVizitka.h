#pragma once

#include "SoleInstance.h"

#include <QDialog>

class FlatButton;
class QLabel;
class QLineEdit;
class QTimer;

// "Vizitka", the about window: the program's version, the maker, the news of the latest
// version from LastVer.ini scrolling upwards while the window is shown, and a link to
// the maker's web site. Made once at start, shown modally (exec()) from the menu.
class TFVizitka : public QDialog
{
    Q_OBJECT
public:
    // latestVersion is GetLatestVersion() at start; the news are read then too.
    explicit TFVizitka(const QString &latestVersion, QWidget *parent = nullptr);

    // The maker's web site, which the link opens.
    static QString makerAddress();

    // Null until made: the event filter sees the panel's events before the link exists.
    QLabel *Image1 = nullptr;   // the logo
    QLineEdit *Edit1 = nullptr; // the version
    QWidget *Panel2 = nullptr;  // shows the part of Label1 that has scrolled into it
    QLabel *Label1 = nullptr;   // the scrolling text
    QLabel *Label2 = nullptr;   // the link
    QTimer *Timer1 = nullptr;
    FlatButton *BitBtn1 = nullptr;

    // One step of the scrolling: the text moves up, and starts again from below once
    // it has left the panel.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fitText();

    SoleInstance<TFVizitka> m_instance;
};

extern TFVizitka *FVizitka;
