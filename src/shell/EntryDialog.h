#pragma once

#include <QDialog>

class FlatButton;
class QGridLayout;
class QLabel;
class QLineEdit;

// The small modal dialogs in which a new entry is typed: labelled fields on the body,
// "&Prekliči" and "Potr&di" in a strip below. Confirming is refused, silently, while
// the entry is not complete; the dialog then stays open with everything as typed.
class EntryDialog : public QDialog
{
    Q_OBJECT
public:
    EntryDialog(const QString &objectName, const QString &caption, QWidget *parent = nullptr);

    // Adds a row: a label and one or more fields side by side.
    QLabel *addRow(const QString &label, const QList<QWidget *> &fields);
    void setFirstField(QWidget *field) { m_firstField = field; }
    // Adds the entry's name ("Edit1") as the first field; confirming then waits for a name.
    QLineEdit *addNameField(const QString &label, const QString &hint);

    FlatButton *okButton() const { return m_ok; }
    FlatButton *cancelButton() const { return m_cancel; }

public Q_SLOTS:
    void accept() override;

protected:
    virtual bool canConfirm() const;
    void showEvent(QShowEvent *event) override;
    QGridLayout *fieldGrid() const { return m_grid; }

private:
    QGridLayout *m_grid;
    FlatButton *m_ok;
    FlatButton *m_cancel;
    QWidget *m_firstField = nullptr;
    QLineEdit *m_nameField = nullptr;
};
