#pragma once

#include "SubRecordList.h"

// The person's alarms (birthdays, anniversaries, reminders), each with its type, date,
// days of warning, the text it shows and when it is next raised.
class AlarmList : public SubRecordList
{
    Q_OBJECT
public:
    AlarmList(SectionPanel *section, const bool &windowReady, QObject *parent = nullptr);

    void FlatButton15Click(); // add
    void FlatButton13Click(); // edit
    void FlatButton14Click() { deleteCurrent(); }

protected:
    void buildRow(QWidget *row, DatasetBinder *binder) override;
    void doubleClicked() override;

private:
    // Puts the dialog's alarm into the list's row being added or edited, and saves it.
    void saveFromDialog();
};
