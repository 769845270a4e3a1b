#pragma once

#include <QListWidget>

class Dataset;

#include <utility>

// A check list of the categories: each item is "<IDkat>;<picture file>;<name>" and is
// drawn with the category's picture before its name. A ticked item includes, a grey one
// (where the list allows three states) excludes. A filter's list begins with the item
// for companies, "P;;Podjetje".
class CategoryCheckList : public QListWidget
{
    Q_OBJECT
public:
    explicit CategoryCheckList(bool withCompanyItem = false, QWidget *parent = nullptr);

    // Fills the list from the categories' rows (those with a name); with keepStates the
    // items that are still there keep their ticks.
    void FillCategoryList(Dataset *categories, bool keepStates);
    // The ticked and grey items as "<first field>;1" and "<first field>;0", joined by "/".
    QString GetCategoryCheckStates() const;
    // Ticks or greys the items named in such a text; entries of items not there are passed over.
    void SetCategoryCheckStates(const QString &states);

    // A field of an item's text, from 1.
    static QString itemField(const QListWidgetItem *item, int field);
    // The item whose first field is this, the last one when there are several.
    QListWidgetItem *itemOf(const QString &firstField) const;
    void untickAll();
    // Every item's first field with its state, in list order.
    QList<std::pair<QString, Qt::CheckState>> states() const;

private:
    QListWidgetItem *addItem(const QString &text, const QString &caption);

    bool m_withCompanyItem;
};
