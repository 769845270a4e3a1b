#pragma once

#include "SubRecordList.h"

// Anything else about the person, as pairs of a field name and a value typed in place.
// A pair left empty goes when it is saved.
class ExtraDataList : public SubRecordList
{
    Q_OBJECT
public:
    ExtraDataList(SectionPanel *section, const bool &windowReady, QObject *parent = nullptr);

    void FlatButton10Click(); // add
    void FlatButton9Click() { deleteCurrent(); }

protected:
    void buildRow(QWidget *row, DatasetBinder *binder) override;

private:
    void ADOQuery3AfterInsert();
    void ADOQuery3AfterPost();
};
