#pragma once

#include "Dataset.h"
#include "PersonWindowLink.h"
#include "SoleInstance.h"

#include <QWidget>

class AlarmList;
class ContactList;
class ExtraDataList;
class LinkedPrograms;
class NoteList;
class PersonCategories;
class PersonRecordForm;
class PersonSearchPanel;
class QSplitter;

// The person window, "Osebe": on the left the searches and the browse list, on the right
// the record of the chosen person or company with its sections on tabs. It is made once
// at start and lives for the whole run; closing it closes the program. The window holds
// the persons' data and coordinates its halves.
class TFVeldra : public QWidget, public PersonWindowLink
{
    Q_OBJECT
public:
    explicit TFVeldra(QWidget *parent = nullptr);
    ~TFVeldra() override;

    // What the main window asks of the person window.
    QWidget *widget() override { return this; }
    void saveOnDeactivate() override { FormDeactivate(); }
    void refreshKeepingPosition() override;
    void activate() override { FormActivate(); }
    // The program closes: the edits are saved, and where the window was left.
    void leave() override;

    void FormActivate();
    // Saves the record and the lists being edited.
    void FormDeactivate();

    void AddPerson();
    // The person with that ID (decimal text) becomes current in the browse list; false
    // when there is no such person there.
    bool LocatePerson(const QString &id);
    void AddCompany();
    void DeletePerson();

    // The current person's ID, null (or empty) when no person is shown.
    QVariant currentPerson() const;
    QString currentPersonId() const;
    // The persons of the browse list as it stands, in its order, each once (a search may
    // list a person several times).
    QList<qint64> listedPersonIds() const;
    // The modules' windows in the section of linked programs go with the main window.
    void destroyModuleWindows();

    // The drop-down lists of the name boxes: titles, first, middle and surnames, functions.
    QStringList nameList(const QString &field);

    PersonSearchPanel *search() const { return m_search; }
    PersonRecordForm *form() const { return m_form; }
    ContactList *contacts() const { return m_contacts; }
    NoteList *notes() const { return m_notes; }
    ExtraDataList *extraData() const { return m_extraData; }
    PersonCategories *categories() const { return m_categories; }
    AlarmList *alarms() const { return m_alarms; }
    LinkedPrograms *linkedPrograms() const { return m_linked; }

    Dataset *QPregled;
    Dataset *QOsebe;
    bool WindowReady = false;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void QPregledAfterScroll();
    void QOsebeAfterScroll();
    void QOsebeAfterOpen();
    // The person's sub-records, in their sections.
    void loadSubRecords();
    void showRecordArea();
    void QOsebeAfterPost();
    void moveToPerson(const QVariant &id);
    void requeryPersons(const QVariant &id);
    int showAddPersonDialog(bool isCompany) const;

    QSplitter *Splitter1 = nullptr;
    PersonSearchPanel *m_search = nullptr;
    PersonRecordForm *m_form = nullptr;
    ContactList *m_contacts = nullptr;
    NoteList *m_notes = nullptr;
    ExtraDataList *m_extraData = nullptr;
    PersonCategories *m_categories = nullptr;
    AlarmList *m_alarms = nullptr;
    LinkedPrograms *m_linked = nullptr;
    SoleInstance<TFVeldra> m_instance;
};

extern TFVeldra *FVeldra;
