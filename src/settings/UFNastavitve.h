#pragma once

#include "GeneralPage.h"
#include "SoleInstance.h"

#include <QDialog>

class FlatButton;
class ProgramsPage;
class QMenuBar;
class QTabWidget;
class ShortcutsPage;
class TFMain;
class ThemePage;

// "Nastavitve": the program's own settings on four pages, read when the window is made
// at start and stored together on "Potrdi". The window lives for the whole run and
// keeps what was changed in it, confirmed or not.
class TNastavitve : public QDialog
{
    Q_OBJECT
public:
    TNastavitve(TFMain *mainWindow, const UpgradeCheckLink &upgradeCheck = {});

    QTabWidget *PageControl1;
    ShortcutsPage *Shortcuts;
    ProgramsPage *Programs;
    ThemePage *Theme;
    GeneralPage *General;
    FlatButton *BitBtn1;
    FlatButton *BitBtn2;

public Q_SLOTS:
    void accept() override;

private:
    QMenuBar *m_mainMenu;
    SoleInstance<TNastavitve> m_instance;
};

extern TNastavitve *FNastavitve;
