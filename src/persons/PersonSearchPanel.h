#pragma once

#include "IncrementalSearch.h"
#include "SearchDefinition.h"

#include <QIcon>
#include <QWidget>

#include <functional>

class CategoryFilterPanel;
class Dataset;
class DatasetModel;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QSplitter;
class QTableView;

// The person window's search half: the category filter on top, below it the choice of
// search, the text searched for and the browse list of the persons found. Typing into
// the browse list types into the search text.
class PersonSearchPanel : public QWidget
{
    Q_OBJECT
public:
    // The browse list's rows are those of the given dataset, which the panel reads. The
    // window's flag and whether it shows a person serve the category filter.
    PersonSearchPanel(Dataset *browseList, const bool &windowReady, std::function<bool()> personShown, QWidget *parent = nullptr);

    CategoryFilterPanel *filter() const { return m_filter; }

    // Adds a search to the selector; items are "caption;search;image;kind", the image
    // one of the selector's pictures: the built-in ones, then those added.
    void addSearchItem(const QString &item);
    int addSearchImage(const QIcon &icon);
    // The searches of the link modules, after the built-in ones; their commands go with
    // the window as owner and its module panel as parent.
    void AddModuleSearches(QWidget *owner, QWidget *modulePanel);
    void ChooseSearch();
    // Takes the filter's condition and runs the chosen search again with it.
    void BuildCategoryFilter();
    void ClearBrowseList();
    // Makes the person with that ID the browse list's current row; a typed search text
    // that hides the person is cleared first. False when the list does not hold the person.
    bool locatePerson(qint64 id);
    void saveLayout(const QString &key) const;
    void restoreLayout(const QString &key);

    QList<SearchDefinition> RxMemoryDataSearch;
    QString FilterExpression;
    QString SearchField;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void colour();
    void ComboBox1Change();
    void PregledInputTextChange();
    void DBGrid1KeyPress(QKeyEvent *event);
    void Panel4Resize();
    bool fillModuleSearch(const SearchDefinition &definition);

    Dataset *QPregled;
    DatasetModel *m_browseModel = nullptr;
    IncrementalSearch m_search;
    QSplitter *m_splitter = nullptr;
    QWidget *Panel30 = nullptr;
    CategoryFilterPanel *m_filter = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLineEdit *PregledInputText = nullptr;
    QTableView *DBGrid1 = nullptr;
    QList<QIcon> m_images;
    QWidget *m_moduleOwner = nullptr;
    QWidget *m_modulePanel = nullptr;
};
