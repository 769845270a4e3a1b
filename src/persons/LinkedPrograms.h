#pragma once

#include <QObject>
#include <QVariant>

#include <functional>

class Dataset;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class QStackedWidget;
class SectionPanel;

// The section "Drugi programi": the link modules, ticked for those the person is linked
// with, and the chosen module's own window for the person below them. Ticking links the
// person with a new record of the module, unticking takes the link away; the links are
// the person's rows of TSharingProgs.
class LinkedPrograms : public QObject
{
    Q_OBJECT
public:
    // What the window lends the section: its owner widget for the modules, saving and
    // reading its edits around a command, the current person, and whether the section is
    // on the page shown.
    struct Window
    {
        QWidget *owner = nullptr;
        std::function<void()> formDeactivate;
        std::function<void()> formActivate;
        std::function<QVariant()> personId;
        std::function<bool()> sectionShown;
    };

    LinkedPrograms(SectionPanel *section, Window window, const bool &windowReady, QObject *parent = nullptr);

    Dataset *query() const { return ADOQuery6; }
    QListWidget *list() const { return CheckListBoxOtherPrograms; }
    QStackedWidget *modulePanel() const { return Panel28; }
    QWidget *blankPanel() const { return Panel29; }
    QSplitter *splitter() const { return m_splitter; }

    // At the window's creation: the list, the modules' windows, then the updates that
    // modules have not confirmed yet.
    void FillLinkedModuleList();
    void embedModuleWindows();
    void RetryPendingUpdates();

    void load(const QVariant &personId);
    void ShowLinkedModule();
    // After the person was saved: each linked module takes the changed data, or the link
    // is marked for a later try.
    void NotifyLinkedModules();
    // Links changed elsewhere are ticked anew.
    void CheckListBoxOtherProgramsEnter();
    // The modules' windows go with the window, not with the modules.
    void destroyModuleWindows();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void TickLinkedModules();
    void CheckListBoxOtherProgramsClickCheck(QListWidgetItem *item);
    void CheckListBoxOtherProgramsDblClick(QListWidgetItem *item);
    void ADOQuery6RecordChangeComplete();
    // The link row of the item's program identifier: its record number, or 0.
    int linkedRecordNo(const QString &progId) const;
    QListWidgetItem *itemOf(const QString &progId) const;
    QString send(const QString &moduleName, const QString &command) const;

    Window m_window;
    const bool &m_windowReady;
    Dataset *ADOQuery6;
    QListWidget *CheckListBoxOtherPrograms;
    QSplitter *m_splitter;
    QStackedWidget *Panel28;
    QWidget *Panel29;
};
