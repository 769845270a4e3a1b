#pragma once

#include "ModuleHost.h"

#include <QDialog>
#include <QList>

#include <functional>

class FlatButton;
class QAction;
class QLabel;
class QMainWindow;
class QTableWidget;

// "Moduli": the modules an administrator placed in the shared data folder's "Moduli"
// that are newer than, or missing from, the ones in use. Made once at start right after
// the main window, it compares at once; "Naloži module" installs them into the program's
// own "Moduli", reads the module list again from there and rebuilds the module menus of
// the main window with onClick, the main window's handler of module items.
class TFPlugins : public QDialog
{
    Q_OBJECT
public:
    using ClickHandler = std::function<void(QAction *)>;

    TFPlugins(QMainWindow *mainWindow, ClickHandler onClick);

    // The start-up step: the window is shown modally when it has new modules, and
    // destroyed either way before this returns.
    static void CheckAtStart(QMainWindow *mainWindow, ClickHandler onClick);

    bool hasNewModules() const { return !m_newModules.isEmpty(); }

    QLabel *Label1;
    QTableWidget *ListView1;
    FlatButton *RxSpeedButton3;

public Q_SLOTS:
    void RxSpeedButton3Click();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();

    QMainWindow *m_mainWindow;
    ClickHandler m_onClick;
    // The shared modules the list shows, in scan order: what the button installs.
    QList<TPluginSpec> m_newModules;
};
