#pragma once

#include <QWidget>

#include <functional>

class CategoryCheckList;
class QComboBox;
class QLabel;

// "Prikaži samo kategorije": narrows the browse list's searches to persons of a kind and
// of the ticked categories, and passes over those of the grey ones. The current person
// dropped onto a category joins it or leaves it.
class CategoryFilterPanel : public QWidget
{
    Q_OBJECT
public:
    // personShown tells whether there is a current person to drop.
    CategoryFilterPanel(const bool &windowReady, std::function<bool()> personShown, QWidget *parent = nullptr);

    CategoryCheckList *list() const { return KategorijeCLB; }
    QComboBox *kindSelector() const { return ComboBox2; }

    // The condition for the searches; qualified for statements that join the persons twice.
    QString filterExpression(bool qualified) const;
    // Categories changed elsewhere are listed anew, the states kept.
    void KategorijeCLBEnter();
    void saveStates() const;
    void restoreStates();

Q_SIGNALS:
    void filterChanged();
    void personDropped(int category);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Panel18Resize();
    bool acceptsDrop(const QPoint &position, const class QMimeData *data) const;
    void KategorijeCLBMouseDown(const QPoint &position);
    void KategorijeCLBDragDrop(const QPoint &position);

    const bool &m_windowReady;
    std::function<bool()> m_personShown;
    QLabel *Panel18;
    QComboBox *ComboBox2;
    CategoryCheckList *KategorijeCLB;
};
