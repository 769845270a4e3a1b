#pragma once

#include "DatasetModel.h"

#include <QWidget>

#include <functional>

class Dataset;
class DatasetBinder;
class FlatButton;
class QGridLayout;
class QLabel;
class QLineEdit;
class QMdiSubWindow;
class QSplitter;
class QTableView;
class QVBoxLayout;

// The family of code-list windows (countries, regions, places, categories, and the
// contact and alarm types): a title strip, a grid of all rows that sorts by a clicked
// title, fields below it that edit the chosen row in place, and "Izbriši" and "Dodaj"
// on the right. Rows are saved on moving to another row and when the window is left;
// every change stamps the table so that other windows follow.
class CodeListWindow : public QWidget
{
    Q_OBJECT
public:
    struct Definition
    {
        const char *windowName;
        QString title;
        const char *table;
        const char *key;
        QStringList sqlLines; // the third line is the ordering, replaced when sorting
        QList<DatasetModel::Column> columns;
        QList<int> widths;    // initial widths of the columns after the name
        int nameMargin;       // the name column takes the grid's width less this
        int minimumEditWidth;
        std::function<int()> add; // the quick-add routine
        bool resizableLowerPanel = false; // under a splitter, its height kept with the placement
        int lowerPanelMinimum = 128;      // the least height the splitter leaves it
    };

    explicit CodeListWindow(const Definition &definition, QWidget *parent = nullptr);

    Dataset *ADOQuery1;
    DatasetBinder *binder() const { return m_binder; }

    // Sorts by the column whose title was clicked.
    void DBGrid1TitleClick(int column);
    void SpeedButton1Click();
    void SpeedButton2Click();

protected:
    // A labelled text field bound to a column, in the edit area.
    QLineEdit *addTextField(const char *name, const QString &label, const char *field, const QString &hint, int maxLength = 0,
                            bool upperCase = false);
    // The same field, not yet placed.
    QLineEdit *textField(const char *name, const char *field, const QString &hint, int maxLength = 0, bool upperCase = false);
    // A row of the edit area; a widget beside the field goes at its right, the field giving way.
    void addEditRow(const QString &label, QWidget *field, QWidget *beside = nullptr);
    // A row of fields side by side at their own widths, from the left; the label names the first.
    void addFieldRow(const QString &label, const QList<QWidget *> &fields);
    // A button of the right strip, below those there already.
    FlatButton *addStripButton(const QString &caption, const char *name, qint64 face, qint64 focused, qint64 down);
    QWidget *editArea() const { return m_editArea; }

    virtual void FormActivate() {}
    void FormDeactivate();
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Panel3Resize();

    Definition m_definition;
    QString m_keyPath;
    DatasetModel *m_model;
    DatasetBinder *m_binder;
    QTableView *DBGrid1;
    QWidget *m_lowerPanel;
    QWidget *m_editArea;
    QGridLayout *m_editGrid;
    QVBoxLayout *m_stripButtons;
    QMdiSubWindow *m_frame = nullptr;
    QSplitter *m_splitter = nullptr;
    bool m_heightStored = false;
    bool m_shown = false;
};
