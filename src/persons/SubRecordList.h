#pragma once

#include "Dataset.h"

#include <QObject>
#include <QStringList>

class FlatButton;
class QHBoxLayout;
class QVBoxLayout;
class RecordRowList;
class SectionPanel;

// A section of the person window that lists one kind of the person's sub-records
// (contacts, notes, extra data, alarms): their query, with the person's key as its one
// parameter, the buttons above the list and the rows, edited in place.
class SubRecordList : public QObject
{
    Q_OBJECT
public:
    struct Definition
    {
        const char *queryName;
        QStringList sqlLines;
        const char *table;        // the sub-records' table, written to and deleted from
        QStringList nullable;     // text fields tried again as null when a save is refused
        const char *lookupTable;  // the table of names the rows show, or null
        bool hiddenWhenEmpty;
        int pixelsPerRow;         // the list shows its height divided by this many rows
        int minimumRows;
    };

    SubRecordList(const Definition &definition, SectionPanel *section, const bool &windowReady, QObject *parent = nullptr);

    Dataset *query() const { return m_query; }
    RecordRowList *list() const { return m_list; }

    // Shows the sub-records of the person with this key.
    void load(const QVariant &personId);
    // Saves the row being edited.
    void save();
    // Names changed elsewhere (a renamed type, say) show at once, on the same row.
    void refreshLookup();
    // Asks, then deletes the current sub-record.
    void deleteCurrent();

protected:
    // Builds a row's controls; called once for every row the list makes.
    virtual void buildRow(QWidget *row, class DatasetBinder *binder) = 0;
    virtual void doubleClicked() {}
    virtual void afterOpen();

    FlatButton *addButton(const char *name, const QString &caption, const QString &hint);
    // The person whose sub-records are shown.
    QVariant personId() const;
    // Reads the list again and stands on the sub-record with this key.
    void requeryAt(const QVariant &id);
    bool eventFilter(QObject *watched, QEvent *event) override;

    Dataset *m_query;

private:
    void postError(Dataset::PostErrorAction *action);

    Definition m_definition;
    const bool &m_windowReady;
    SectionPanel *m_section;
    QHBoxLayout *m_buttons;
    RecordRowList *m_list;
};
