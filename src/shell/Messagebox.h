#pragma once

#include "SoleInstance.h"

#include <QDialog>

class FlatButton;
class QLabel;

// The program's own message box: the program's colours and Slovenian captions.
// Kinds: 0 notice ("V redu"), 1 "Prekliči"/"V redu", 2 "Prekini"/"Preskoci"/"Ponovno",
// 3 "Prekliči"/"Ne"/"Da", 4 "Ne"/"Da", 5 "Ponovno"/"V redu"; any other kind is 0.
// Results: 1 OK, 2 Cancel (also the close box), 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.
// The buttons answer the mouse only: Enter and Esc do nothing.
class TFMessageBox : public QDialog
{
    Q_OBJECT
public:
    explicit TFMessageBox(QWidget *parent = nullptr);

    // The one instance; made on first use when start-up has not made it yet.
    static TFMessageBox *instance();

    int ask(const QString &text, int kind);

    FlatButton *leftButton() const { return m_left; }
    FlatButton *middleButton() const { return m_middle; }
    FlatButton *rightButton() const { return m_right; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

public Q_SLOTS:
    void reject() override;

private:
    void FormCreate();
    void FormShow();
    void setButton(FlatButton *button, const QString &caption, int result);

    QLabel *m_text = nullptr;
    FlatButton *m_left = nullptr;
    FlatButton *m_middle = nullptr;
    FlatButton *m_right = nullptr;
    QString m_message;
    int m_kind = 0;
    SoleInstance<TFMessageBox> m_instance;
};

extern TFMessageBox *FMessageBox;
