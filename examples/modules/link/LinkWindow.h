// The link module's child window: the record linked with the person the program shows.
// Made inside the program's panel; once handed over it belongs to the program.
//
// Copyright (c) the Veldra developers. MIT licence, see LICENSE.
#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class LinkWindow : public QWidget
{
public:
    explicit LinkWindow(QWidget *parent);

    // Reads the record afresh; 0 shows that the person is not linked. In edit mode the
    // note can be changed and saved.
    void ShowRecord(int personId, int record, bool edit);
    // The record's name changed while it may be on show.
    void NameChanged(int record, const QString &name);
    // No record, only the text (a refresh the module could not read).
    void ShowMessage(const QString &text);

    int Record() const { return m_record; }
    int PersonId() const { return m_personId; }
    bool Editing() const { return m_editing; }

private:
    void setEditing(bool editing);
    void save();
    void clear(const QString &status);

    QLabel *m_number;
    QLabel *m_name;
    QLineEdit *m_note;
    QPushButton *m_save;
    QLabel *m_status;
    int m_personId = 0;
    int m_record = 0;
    bool m_editing = false;
};
