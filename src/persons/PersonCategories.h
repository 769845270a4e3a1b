#pragma once

#include <QObject>
#include <QVariant>

class CategoryCheckList;
class Dataset;
class QLabel;
class QListWidgetItem;
class SectionPanel;

// The categories the person belongs to: ticked in the list of all categories, and shown
// as a strip of their pictures in the title bar, with their names as its hint. Ticking
// or unticking a category puts the person in it or takes the person out at once.
class PersonCategories : public QObject
{
    Q_OBJECT
public:
    PersonCategories(SectionPanel *section, QLabel *strip, const bool &windowReady, QObject *parent = nullptr);

    Dataset *query() const { return ADOQuery4; }
    CategoryCheckList *list() const { return OsebaKategorije; }

    void load(const QVariant &personId);
    // Categories changed elsewhere are listed anew.
    void OsebaKategorijeEnter();
    void ShowPersonCategories();
    // The person joins the category, or leaves it when a member already.
    void toggleMembership(int category);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OsebaKategorijeClickCheck(QListWidgetItem *item);
    void setMembership(int category, bool member);

    Dataset *ADOQuery4;
    CategoryCheckList *OsebaKategorije;
    QLabel *Image1;
    const bool &m_windowReady;
};
