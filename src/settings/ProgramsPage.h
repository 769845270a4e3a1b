#pragma once

#include <QWidget>

class QComboBox;
class QLineEdit;
class QMenuBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class FlatButton;

// The settings page "Programi": the external programs of the main menu, edited in the
// page's nodes and written to "Moduli.ini" on store().
class ProgramsPage : public QWidget
{
    Q_OBJECT
public:
    ProgramsPage(QMenuBar *mainMenu, QWidget *parent = nullptr);

    // Rewrites the section from the nodes and builds the program menus again.
    void store();

    QTreeWidget *TreeView2;
    FlatButton *Dodaj;
    FlatButton *Odstrani;
    QLineEdit *FilenameEdit1;
    QToolButton *FilenameButton;
    QComboBox *ComboBox1;
    QComboBox *ComboBox2;

private:
    class ProgramNode;

    void fill();
    ProgramNode *addNode(int number, const QString &menu, const QString &caption, const QString &key,
                         const QString &path);
    ProgramNode *selectedNode() const;
    void showSelected();
    void addProgram();
    void removeProgram();
    void choosePath();
    void takeMenuName(const QString &text);
    void takeCaption(const QString &text);
    // A file dialog for programs and documents: the chosen file, or empty.
    QString chooseProgramFile(const QString &title, const QString &preset);

    QMenuBar *m_mainMenu;
};
