#pragma once

#include "SubRecordList.h"

// The person's notes, each a dated text, in the order they were written.
class NoteList : public SubRecordList
{
    Q_OBJECT
public:
    NoteList(SectionPanel *section, const bool &windowReady, QObject *parent = nullptr);

    void FlatButton7Click(); // add
    void FlatButton5Click(); // edit
    void FlatButton6Click() { deleteCurrent(); }

protected:
    void buildRow(QWidget *row, DatasetBinder *binder) override;
    void doubleClicked() override;
};
