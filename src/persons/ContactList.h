#pragma once

#include "SubRecordList.h"

// The person's contacts (telephones, addresses, web pages, ...), each with its type's
// picture, name and the value. Clicking the picture uses the contact: writes a mail to
// an e-mail address, opens an internet address.
class ContactList : public SubRecordList
{
    Q_OBJECT
public:
    ContactList(SectionPanel *section, const bool &windowReady, QObject *parent = nullptr);

    void FlatButton2Click(); // add
    void FlatButton3Click(); // edit
    void FlatButton4Click() { deleteCurrent(); }
    // The contact of the row's picture is used.
    void DBImageMy1Click();

protected:
    void buildRow(QWidget *row, DatasetBinder *binder) override;
    void doubleClicked() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
