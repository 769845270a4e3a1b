#pragma once

#include "Dataset.h"

#include <QHash>
#include <QWidget>

#include <utility>
#include <vector>

class DatasetBinder;
class DesignGrid;
class FlatButton;
class LookupComboBox;
class NameComboBox;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class SectionPanel;
class TitleLabel;

// The record half of the person window: the title bar with the person's name, and the
// sections of the record on tabs, their fields bound to the current person. The
// sub-record lists are put into their sections by the window.
class PersonRecordForm : public QWidget
{
    Q_OBJECT
public:
    enum class Move { First, Prior, Next, Last };

    // The window's flag tells the lookups whether a change read elsewhere reopens them.
    PersonRecordForm(Dataset *person, const bool &windowReady, QWidget *parent = nullptr);

    // The section of the given name ("PKontakt", say).
    SectionPanel *section(const QString &name) const;
    // Whether the section is on the tab shown, on its own tab or in the first tab's grid.
    bool isOnCurrentPage(const QWidget *section) const;
    // Places the sections by the three row texts of the layout value: into the cells of
    // the first tab's grid, the rest on their own tabs.
    void ApplyPanelLayout(const QString &row1, const QString &row2, const QString &row3);
    DesignGrid *designGrid() const { return m_grid; }
    // The title bar's strip of the person's category icons.
    QLabel *categoryStrip() const { return Image1; }

    void showPerson();
    // The record area is shown only while there is a person to show.
    void showRecordArea(bool shown);
    // The lookups are read again when their tables changed.
    void refreshLookups();
    void refreshCompanies();
    // After a save: the names saved join the name boxes' lists.
    void addSavedNames();
    QStringList nameList(const QString &field);
    // The name boxes' lists, for the add-person dialog: titles, first, middle and surnames.
    std::vector<QStringList> personNameLists() const;

Q_SIGNALS:
    void moveRequested(PersonRecordForm::Move move);
    void addRequested();
    void deleteRequested();
    void addCompanyRequested();
    void pageChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createTitleBar();
    void createRecordArea();
    SectionPanel *addSection(const char *name, const QString &caption, const char *icon, const QString &tab);
    void createBasicData();
    void createAddress();
    void createJob();
    void createBankData();
    void createCategory();
    void colour();
    void setNameSources();
    void bindFields();

    void DBCheckBox1Click();
    void DBComboBox4Change(NameComboBox *box);
    void composeFullName();
    void RxDBLookupCombo1Change();
    void RxDBLookupComboEnter(LookupComboBox *lookup);
    void QOsebeTRRValidate();
    void QOsebePostError(Dataset::PostErrorAction *action);

    Dataset *QOsebe;
    const bool &m_windowReady;
    DatasetBinder *m_binder = nullptr;
    // Each lookup with the table whose change makes its list be read again.
    std::vector<std::pair<LookupComboBox *, QString>> m_lookupTables;
    QString m_trrOnEntry;

    QWidget *Panel5 = nullptr;
    QLabel *Image1 = nullptr;
    TitleLabel *Label3 = nullptr;
    QWidget *Panel6 = nullptr;
    QTabWidget *PageControl1 = nullptr;
    DesignGrid *m_grid = nullptr;
    QWidget *m_jobTab = nullptr;
    // The grid cell the job section was put in, or nullptr while it is on its tab.
    QWidget *m_jobCell = nullptr;
    // Each section's own tab page; the basic data have none.
    QHash<QWidget *, QWidget *> m_homePages;

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
};
