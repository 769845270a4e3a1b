#pragma once

#include "Installation.h"
#include "SetupScript.h"

#include <QDialog>

#include <optional>

class FlatButton;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QToolButton;
class VerticalLabel;

// The installer's options window: the folders, the start-menu group and the three choices,
// the checks before anything is changed, and the progress of the installation. It closes
// accepted when the installer is to end ("Zapri", or the installation is over), rejected
// when the user only closes the window.
class TNamestitev : public QDialog, public InstallationProgress
{
    Q_OBJECT
public:
    // The items of the tick list, in their order.
    enum Part { SystemLibraries, Database, ProgramFiles, DesktopShortcut, MenuGroup, StartAfter };

    explicit TNamestitev(const SetupScript &script, QWidget *parent = nullptr);

    VerticalLabel *Label1;       // Ime
    QLabel *Image1;              // the picture
    QLabel *Label3;              // Verzija
    QLabel *Label5;              // the number and size of the files
    QListWidget *CheckListBox1;  // "Deli:"
    QLineEdit *Edit1;            // the start-menu group
    QLineEdit *Edit2;            // the program folder
    QLineEdit *Edit3;            // the database folder
    QToolButton *SpeedButton1;   // browse for the program folder
    QToolButton *SpeedButton2;   // browse for the database folder
    QWidget *Panel1;             // "Namestitev poteka:"
    QLabel *Label9;              // the step
    QLabel *Label10;             // the item
    QProgressBar *ProgressBar1;
    FlatButton *BitBtn1;         // "Namesti"
    FlatButton *BitBtn2;         // "Zapri"

    bool isTicked(Part part) const;

    void BitBtn1Click();

    void showStep(const QString &caption) override;
    void showItem(const QString &name) override;
    void showProgress(int percent) override;

private:
    // The checks of "Namesti" in their order; the choices when all have passed.
    std::optional<InstallChoices> checkChoices();
    void setInputEnabled(bool enabled);
    void browseFolder(QLineEdit *field);

    SetupScript m_script;
};
