#pragma once

#include "MainWindowServices.h"
#include "SoleInstance.h"
#include "UsageTracker.h"

#include <QMainWindow>
#include <QTimer>

class NoticeStrip;
class PersonWindowLink;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QSystemTrayIcon;
class QToolBar;

// The program's frame: the child windows, the menus, the tool bar, the status bar with
// its clock, the notice strip, the tray icon, the usage figures and the automatic hiding.
// Closing it, after the user's "Da", ends the program.
class TFMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFMain(MainWindowServices services, QWidget *parent = nullptr);
    ~TFMain() override;

    // The background picture for a "BackgroundImage" setting: the named file when it
    // exists, nothing for "/", else the built-in picture.
    static QString ChooseBackgroundPicture(const QString &setting);
    static QString BuiltInBackground();
    // Tiles the picture a "BackgroundImage" setting names, in place of the one shown.
    void ShowBackgroundImage(const QString &setting);

    void setPersonWindow(PersonWindowLink *person);
    QMdiSubWindow *addChildWindow(QWidget *window);

    // 1 when the name is a known child window (it is then shown), else 0.
    int OpenChildWindow(const QString &name);
    // The index of the last child window with that component name, or -1.
    int FindMdiChild(const QString &name) const;
    // Shows the child window when it exists (1), else creates it (0): one of each.
    int ShowOrCreateMdiChild(const MainWindowServices::WindowFactory &factory, const QString &name);

    // Shows the window where and how it was left (maximised the first time).
    void showPlaced();
    // Brings the program back from the tray or from behind other windows; counts as activity.
    void restoreAndRaise();

    // Ends the program without asking the user: the programs that started it are done.
    void closeWithoutQuestion();

    void timerTick(qint64 now);
    UsageTracker &usage() { return m_usage; }
    QString backgroundPicture() const { return m_backgroundPicture; }
    QMdiArea *mdiArea() const { return m_mdiArea; }

public Q_SLOTS:
    void Timer1Timer();
    void AppEvents1Activate();
    void AppEvents1Deactivate();
    void StatusBar1MouseDown();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void FormCreate();
    bool FormCloseQuery();
    void FormClose();
    void AppEvents1Minimize();
    void RxTrayIcon1Click();
    void Splono1Click();
    void Vizitka1Click();

    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createCentralArea();
    void createTrayIcon();
    void applyColours();
    void hideApplication();
    void writeUsageFigures();
    void writePersonCount();
    void createLauncherShortcutsWhenWanted();
    QMdiSubWindow *childNamed(const QString &name) const;
    void activatePersonFrame();
    QAction *addMenuEntry(QMenu *menu, const char *name, const QString &caption, const QString &hint);

    MainWindowServices m_services;
    PersonWindowLink *m_person = nullptr;
    UsageTracker m_usage;
    QTimer m_timer;
    QString m_backgroundPicture;
    QString m_childBeforeDeactivation;
    bool m_closingUnasked = false;

    QMdiArea *m_mdiArea = nullptr;
    QWidget *m_webPanel = nullptr;
    QWidget *m_webContent = nullptr;
    NoticeStrip *m_notice = nullptr;
    QToolBar *m_toolBar = nullptr;
    QLabel *m_clockPanel = nullptr;
    QLabel *m_hintPanel = nullptr;
    QLabel *m_windowListPanel = nullptr;
    QSystemTrayIcon *m_tray = nullptr;
    SoleInstance<TFMain> m_instance;
};

extern TFMain *FMain;
