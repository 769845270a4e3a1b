#pragma once

#include "Dataset.h"
#include "IncrementalSearch.h"
#include "PersonWindowLink.h"
#include "SearchDefinition.h"
#include "SoleInstance.h"

#include <QWidget>

#include <utility>
#include <vector>

class DatasetBinder;
class DatasetModel;
class FlatButton;
class LookupComboBox;
class NameComboBox;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSplitter;
class QTabWidget;
class QTableView;
class SectionPanel;
class TitleLabel;

// The person window, "Osebe": on the left the searches and the browse list, on the right
// the record of the chosen person or company with its sections on tabs. It is made once
// at start and lives for the whole run; closing it closes the program.
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

    void ChooseSearch();
    void ClearBrowseList();
    void AddPerson();
    void AddCompany();
    void DeletePerson();

    // The drop-down lists of the name boxes: titles, first, middle and surnames, functions.
    QStringList nameList(const QString &field) const;

    Dataset *QPregled;
    Dataset *QOsebe;
    QList<SearchDefinition> RxMemoryDataSearch;
    QString FilterExpression;
    QString SearchField;
    bool WindowReady = false;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void FormDestroy();
    void createSearchHalf();
    void createTitleBar(QWidget *parent);
    void createRecordArea(QWidget *parent);
    SectionPanel *addSection(const char *name, const QString &caption, const char *icon, const QString &tab);
    void createBasicData();
    void createAddress();
    void createJob();
    void createBankData();
    void createCategory();
    void colourWindow();
    void fillNameLists();
    void refreshLookups();

    void addSearchItem(const QString &item);
    void ComboBox1Change();
    void PregledInputTextChange();
    void DBGrid1KeyPress(QKeyEvent *event);
    void QPregledAfterScroll();
    void QOsebeAfterScroll();
    void QOsebeAfterOpen();
    // The record area is shown only while there is a person to show.
    void showRecordArea();
    void QOsebeAfterPost();
    void QOsebePostError(Dataset::PostErrorAction *action);
    void DBCheckBox1Click();
    void DBComboBox4Change(NameComboBox *box);
    void composeFullName();
    void RxDBLookupCombo1Change();
    void RxDBLookupComboEnter(LookupComboBox *lookup);
    void QOsebeTRRValidate();
    void Panel4Resize();
    void moveToPerson(const QVariant &id);
    void requeryPersons(const QVariant &id);
    int showAddPersonDialog(bool isCompany) const;

    DatasetBinder *m_binder = nullptr;
    // Each lookup with the table whose change makes its list be read again.
    std::vector<std::pair<LookupComboBox *, QString>> m_lookupTables;
    DatasetModel *m_browseModel = nullptr;
    IncrementalSearch m_search;
    QString m_trrOnEntry;

    QSplitter *Splitter1 = nullptr;
    QWidget *Panel1 = nullptr;
    QWidget *Panel30 = nullptr;
    QSplitter *m_leftSplitter = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *PregledInputText = nullptr;
    QTableView *DBGrid1 = nullptr;
    QWidget *Panel5 = nullptr;
    QLabel *Image1 = nullptr;
    TitleLabel *Label3 = nullptr;
    QWidget *Panel6 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *m_jobTab = nullptr;
    FlatButton *SpeedButton1 = nullptr;
    FlatButton *SpeedButton2 = nullptr;

    QCheckBox *DBCheckBox1 = nullptr;
    NameComboBox *DBComboBox1 = nullptr;
    NameComboBox *DBComboBox2 = nullptr;
    NameComboBox *DBComboBox3 = nullptr;
    NameComboBox *DBComboBox4 = nullptr;
    NameComboBox *DBComboBox5 = nullptr;
    QLineEdit *DBEdit7 = nullptr;
    QLineEdit *DBEdit1 = nullptr;
    QDateEdit *m_birthDate = nullptr;
    QList<QWidget *> m_personOnly;
    QPlainTextEdit *m_street = nullptr;
    LookupComboBox *RxDBLookupCombo1 = nullptr;
    LookupComboBox *RxDBLookupCombo2 = nullptr;
    LookupComboBox *RxDBLookupCombo3 = nullptr;
    LookupComboBox *RxDBLookupCombo4 = nullptr;
    QLineEdit *m_zip = nullptr;
    QLineEdit *DBEdit6 = nullptr;
    QComboBox *m_legalStatus = nullptr;
    SoleInstance<TFVeldra> m_instance;
};

extern TFVeldra *FVeldra;
