#include "FlatButton.h"
#include "IniFile.h"
#include "ModalAnswer.h"
#include "Registry.h"
#include "UFSetup.h"
#include "UNamestitev.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A world of its own: the installer's folder, a folder to install into, and a home with
// the user's desktop, menus and settings store.
class SetupWorld
{
public:
    SetupWorld()
    {
        QDir().mkpath(installer());
        QDir().mkpath(home());
        qputenv("HOME", home().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home() + QStringLiteral(".config")).toUtf8());
        qputenv("XDG_DATA_HOME", (home() + QStringLiteral(".local/share")).toUtf8());
    }

    QString installer() const { return m_dir.path() + QStringLiteral("/installer/"); }
    QString home() const { return m_dir.path() + QStringLiteral("/home/"); }
    QString target() const { return m_dir.path() + QStringLiteral("/target/"); }

    void writeScript(const QByteArray &ini) const { writeFile(installer() + QStringLiteral("Setup.ini"), ini); }

private:
    QTemporaryDir m_dir;
};

// Answers each message box with the next of the answers (a box beyond them is closed) and
// records what it said, with its icon.
class BoxAnswers
{
public:
    explicit BoxAnswers(QList<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers))
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answer(); });
        m_timer.start();
    }

    QStringList seen;

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const char *kind = box->icon() == QMessageBox::Warning    ? "warning: "
                           : box->icon() == QMessageBox::Question ? "question: "
                           : box->icon() == QMessageBox::Critical ? "critical: "
                                                                  : "other: ";
        seen << QLatin1String(kind) + box->text();
        QAbstractButton *button = box->button(m_answers.value(seen.size() - 1, QMessageBox::NoButton));
        if (button)
            button->click();
        else
            box->reject();
    }

    QList<QMessageBox::StandardButton> m_answers;
    QTimer m_timer;
};

QString memoOf(int lines)
{
    QStringList text;
    for (int line = 1; line <= lines; ++line)
        text << QString::number(line);
    return text.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

const QString ProgramQuestion = QStringLiteral("question: Mapa kamor želite namestiti program že obstaja!\nAli želite nadaljevati?");
const QString DatabaseQuestion = QStringLiteral("question: Mapa kamor želite namestiti bazo programa že obstaja!\nAli želite nadaljevati?");

}

class TestSetupWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void memoScrollRules_data();
    void memoScrollRules();
    void labelMotionCycle();
    void welcomeWindow_data();
    void welcomeWindow();
    void memoScrollsInWindow_data();
    void memoScrollsInWindow();
    void namestiOpensOptionsAndZapriEnds();
    void restoreAndRaiseBringsBackWindows();
    void optionsWindowShowsScript_data();
    void optionsWindowShowsScript();
    void browseChoosesFolder();
    void installsThroughOptionsWindow();
    void singleFileShowsZeroThenHundred();
    void checksBeforeInstalling_data();
    void checksBeforeInstalling();
    void replaceFailureEndsInstaller();
    void secondSetupRaisesFirst();
};

void TestSetupWindows::memoScrollRules_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("downs");
    QTest::addColumn<int>("ups");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("canUp");
    QTest::addColumn<bool>("canDown");
    QTest::addColumn<int>("marker"); // with 230 pixels of free space

    QTest::newRow("no text") << 0 << 0 << 0 << 1 << false << false << 230;
    QTest::newRow("10 lines") << 10 << 0 << 0 << 1 << false << false << 230;
    QTest::newRow("10 lines, down pressed anyway") << 10 << 3 << 0 << 4 << true << false << 230;
    QTest::newRow("17 lines fit") << 17 << 0 << 0 << 1 << false << false << 230;
    QTest::newRow("18 lines at the top") << 18 << 0 << 0 << 1 << false << true << 0;
    QTest::newRow("18 lines at the end") << 18 << 1 << 0 << 2 << true << false << 230;
    QTest::newRow("40 lines at the top") << 40 << 0 << 0 << 1 << false << true << 0;
    QTest::newRow("40 lines on the way") << 40 << 11 << 0 << 12 << true << true << 110;
    QTest::newRow("40 lines, 24 to 40 shown") << 40 << 23 << 0 << 24 << true << false << 230;
    QTest::newRow("40 lines, back up") << 40 << 23 << 1 << 23 << true << true << 220;
    QTest::newRow("up at the top stays") << 40 << 0 << 2 << 1 << false << true << 0;
    QTest::newRow("down stops at the last line") << 40 << 60 << 0 << 39 << true << false << 230;
}

void TestSetupWindows::memoScrollRules()
{
    QFETCH(int, lines);
    QFETCH(int, downs);
    QFETCH(int, ups);
    MemoScroll scroll(lines);
    for (int i = 0; i < downs; ++i)
        scroll.down();
    for (int i = 0; i < ups; ++i)
        scroll.up();
    QTEST(scroll.firstLine(), "first");
    QTEST(scroll.canGoUp(), "canUp");
    QTEST(scroll.canGoDown(), "canDown");
    QTEST(scroll.markerOffset(230), "marker");
}

void TestSetupWindows::labelMotionCycle()
{
    QList<QPair<int, int>> expected; // origin, time to the next step
    for (int origin = 5; origin <= 125; origin += 5)
        expected.append({origin, 100});
    expected.append({130, 2000});
    for (int origin = 135; origin <= 250; origin += 5)
        expected.append({origin, 100});
    expected.append({0, 100});

    LabelMotion motion;
    for (int cycle = 0; cycle < 2; ++cycle) {
        QList<QPair<int, int>> steps;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const int interval = motion.tick();
            steps.append({motion.origin(), interval});
        }
        QCOMPARE(steps, expected);
    }
}

void TestSetupWindows::welcomeWindow_data()
{
    QTest::addColumn<QByteArray>("script"); // empty: no Setup.ini
    QTest::addColumn<QByteArray>("memo");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("info");
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("shown");

    const QString text = QStringLiteral("Dobrodošli! Čebelica žveči šopek.\nDruga vrstica");
    const QByteArray script = "[Glavno]\nIme=Veldra\nInfo=Korvan d.o.o., Ljubljana\nSlika=slika.png\nMemo=besedilo.txt\n";
    QTest::newRow("UTF-8 text and a picture")
        << script << text.toUtf8() << "Namestitev programa Veldra" << "Korvan d.o.o., Ljubljana" << true << text;
    QByteArray legacy = QStringEncoder("windows-1250").encode(text);
    QTest::newRow("Windows-1250 text, picture missing")
        << QByteArray(script).replace("slika.png", "ni.png") << legacy << "Namestitev programa Veldra"
        << "Korvan d.o.o., Ljubljana" << false << text;
    QTest::newRow("no Setup.ini") << QByteArray() << QByteArray() << "Namestitev programa " << "" << false << "";
}

void TestSetupWindows::welcomeWindow()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, memo);
    SetupWorld world;
    if (!script.isEmpty())
        world.writeScript(script);
    if (!memo.isEmpty())
        writeFile(world.installer() + QStringLiteral("besedilo.txt"), memo);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    QVERIFY(picture.save(world.installer() + QStringLiteral("slika.png")));

    TFMain window(world.installer());
    QTEST(window.windowTitle(), "caption");
    QTEST(window.Label1->text(), "caption");
    QTEST(window.Label3->text(), "info");
    QTEST(!window.Image1->pixmap().isNull(), "picture");
    QTEST(window.Memo1->text(), "shown");
    QCOMPARE(window.Label2->text(), QStringLiteral("https://veldra.example.org/"));
}

void TestSetupWindows::memoScrollsInWindow_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("downs"); // how often down could be pressed
    QTest::addColumn<QString>("firstShown");
    QTest::addColumn<QString>("lastShown");

    QTest::newRow("10 lines") << 10 << 0 << "1" << "10";
    QTest::newRow("40 lines") << 40 << 23 << "24" << "40";
}

void TestSetupWindows::memoScrollsInWindow()
{
    QFETCH(int, lines);
    QFETCH(int, downs);
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\nMemo=besedilo.txt\n");
    writeFile(world.installer() + QStringLiteral("besedilo.txt"), memoOf(lines).toUtf8());
    TFMain window(world.installer());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const auto markerAtLowerEnd = [&window] {
        return window.Shape1->geometry().bottom() + 1 == window.Panel2->height();
    };

    QVERIFY(!window.SpeedButton1->isEnabled());
    QCOMPARE(markerAtLowerEnd(), downs == 0);
    int pressed = 0;
    while (window.SpeedButton2->isEnabled() && pressed <= lines) {
        QTest::mouseClick(window.SpeedButton2, Qt::LeftButton);
        ++pressed;
    }
    QCOMPARE(pressed, downs);
    const QStringList shown = window.Memo1->text().split(QLatin1Char('\n'));
    QCOMPARE(shown.size(), qMin(lines, MemoScroll::VisibleLines));
    QTEST(shown.first(), "firstShown");
    QTEST(shown.last(), "lastShown");
    QCOMPARE(window.SpeedButton1->isEnabled(), downs > 0);
    QVERIFY(markerAtLowerEnd());
}

void TestSetupWindows::namestiOpensOptionsAndZapriEnds()
{
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n");
    TFMain window(world.installer());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto shown = std::make_shared<ModalAnswer::Seen>();
    bool options = false;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        *shown = ModalAnswer::describe(dialog);
        auto *namestitev = qobject_cast<TNamestitev *>(dialog);
        options = namestitev && window.optionsWindow() == namestitev;
        if (namestitev)
            namestitev->BitBtn2->click();
        else
            dialog->close();
    });
    window.BitBtn1->click();
    QVERIFY(shown->shown);
    QVERIFY(options);
    QCOMPARE(shown->title, QStringLiteral("Namestitev programa Veldra"));
    // "Zapri" in the options window ends the installer: the welcome window is closed.
    QVERIFY(!window.isVisible());
    QVERIFY(!window.optionsWindow());
}

void TestSetupWindows::restoreAndRaiseBringsBackWindows()
{
    SetupWorld world;
    TFMain window(world.installer());
    window.showMinimized();
    window.restoreAndRaise();
    QVERIFY(window.isVisible());
    QVERIFY(!window.isMinimized());

    // With the options window open, that one comes to the front.
    QString active;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        auto *options = qobject_cast<TNamestitev *>(dialog);
        QVERIFY(options);
        window.activateWindow();
        window.restoreAndRaise();
        QTest::qWait(50);
        active = QApplication::activeWindow() ? QApplication::activeWindow()->objectName() : QString();
        options->reject();
    });
    window.BitBtn1->click();
    QCOMPARE(active, QStringLiteral("Namestitev"));
    // Closed without "Zapri", the options window leaves the welcome window open.
    QVERIFY(window.isVisible());
}

void TestSetupWindows::optionsWindowShowsScript_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QList<bool>>("ticks");

    QTest::newRow("libraries and files")
        << QByteArray("[Glavno]\nIme=Veldra\nVerzija=2.310\nProgramFolder=/opt/Veldra\nMrezaFolder=/srv/Veldra\n"
                      "[DLL]\nknjiznica.so=%System%knjiznica.so\n[Datoteke]\nveldra=%ProgramFolder%veldra\n")
        << QList<bool>{true, true, true, true, true, true};
    QTest::newRow("empty script")
        << QByteArray("[Glavno]\nIme=Veldra\nVerzija=2.310\nProgramFolder=/opt/Veldra\nMrezaFolder=/srv/Veldra\n")
        << QList<bool>{false, false, false, true, true, true};
}

void TestSetupWindows::optionsWindowShowsScript()
{
    QFETCH(QByteArray, script);
    QFETCH(QList<bool>, ticks);
    SetupWorld world;
    world.writeScript(script);
    writeFile(world.installer() + QStringLiteral("veldra"), QByteArray(2048, 'x'));
    const SetupScript read = ReadSetupScript(world.installer());
    TNamestitev window(read);

    QCOMPARE(window.windowTitle(), QStringLiteral("Namestitev programa Veldra"));
    QCOMPARE(window.Label1->text(), QStringLiteral("Veldra"));
    QCOMPARE(window.Label3->text(), QStringLiteral("2.310"));
    QCOMPARE(window.Label5->text(), FormatSourceFiles(CountSourceFiles(read)));
    QCOMPARE(window.Edit1->text(), QStringLiteral("Korvan Veldra"));
    QCOMPARE(window.Edit2->text(), QStringLiteral("/opt/Veldra"));
    QCOMPARE(window.Edit3->text(), QStringLiteral("/srv/Veldra"));
    QCOMPARE(window.CheckListBox1->count(), 6);
    QStringList texts;
    for (int row = 0; row < window.CheckListBox1->count(); ++row) {
        const QListWidgetItem *item = window.CheckListBox1->item(row);
        texts << item->text();
        QCOMPARE(item->checkState() == Qt::Checked, ticks[row]);
        // The first three follow the script, the user decides the others.
        QCOMPARE(bool(item->flags() & Qt::ItemIsUserCheckable), row >= TNamestitev::DesktopShortcut);
    }
    QCOMPARE(texts, QStringList({"Namestitev sistemskih knjižnic", "Namestitev baze", "Namestitev programskih datotek",
                                 "Kreiraj bližnjico na namizje", "Kreiraj grupo v start meni",
                                 "Zaženi program po namestitvi"}));
    QVERIFY(!window.Panel1->isVisible());
}

void TestSetupWindows::browseChoosesFolder()
{
    SetupWorld world;
    const QString chosen = world.target() + QStringLiteral("Podatki");
    QDir().mkpath(chosen);
    const SetupScript script = ReadSetupScript(world.installer());
    TNamestitev window(script);
    window.Edit2->setText(QStringLiteral("/opt/Veldra"));
    bool mayCreate = false;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *dialog = qobject_cast<QFileDialog *>(shown);
        QVERIFY(dialog);
        mayCreate = dialog->fileMode() == QFileDialog::Directory && !dialog->testOption(QFileDialog::ReadOnly);
        dialog->setDirectory(chosen);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    window.SpeedButton2->click();
    QVERIFY(mayCreate);
    QCOMPARE(window.Edit3->text(), chosen + QLatin1Char('/'));
    QCOMPARE(window.Edit2->text(), QStringLiteral("/opt/Veldra"));
}

void TestSetupWindows::installsThroughOptionsWindow()
{
    SetupWorld world;
    const QString marker = world.target() + QStringLiteral("started");
    world.writeScript("[Glavno]\nIme=Veldra\nChangePathInIni=%ProgramFolder%veldra.ini\n"
                      "[Folders]\nModuli=%ProgramFolder%Moduli\n"
                      "[Datoteke]\n"
                      "veldra.sh=%ProgramFolder%veldra.sh;SHORTCUT\n"
                      "Baza/Veldra_be.mdb=%MrezaFolder%Veldra_be.mdb;LEAVE\n"
                      "veldra.ini=%ProgramFolder%veldra.ini\n"
                      "manjka.sh=%ProgramFolder%manjka.sh;SHORTCUT\n");
    // The program proves that it was started, in its own folder.
    writeFile(world.installer() + QStringLiteral("veldra.sh"),
              "#!/bin/sh\npwd > '" + marker.toUtf8() + "'\n");
    QFile::setPermissions(world.installer() + QStringLiteral("veldra.sh"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(world.installer() + QStringLiteral("Baza/Veldra_be.mdb"), "new database");
    writeFile(world.installer() + QStringLiteral("veldra.ini"), "[Glavno]\nJezik=SLO\n");
    const QString program = world.target() + QStringLiteral("Program/");
    const QString database = world.target() + QStringLiteral("Podatki/");
    // The installed database survives the new installation.
    writeFile(world.target() + QStringLiteral("Podatki/Veldra_be.mdb"), "user's database");

    const SetupScript script = ReadSetupScript(world.installer());
    TNamestitev window(script);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Edit1->setText(QStringLiteral("  Korvan  "));
    window.Edit2->setText(program);
    window.Edit3->setText(world.target() + QStringLiteral("Podatki"));
    QStringList progress;
    connect(window.ProgressBar1, &QProgressBar::valueChanged, this,
            [&] { progress << window.ProgressBar1->text(); });
    BoxAnswers boxes({QMessageBox::Yes});
    window.BitBtn1->click();

    QCOMPARE(boxes.seen, QStringList{DatabaseQuestion});
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(progress, QStringList({"[0%]", "[33%]", "[67%]", "[100%]"}));
    QVERIFY(!window.BitBtn1->isEnabled());
    QVERIFY(!window.Edit2->isEnabled());
    QVERIFY(QFileInfo(program + QStringLiteral("Moduli")).isDir());
    QCOMPARE(readFile(database + QStringLiteral("Veldra_be.mdb")), QByteArray("user's database"));
    QCOMPARE(IniFile(program + QStringLiteral("veldra.ini")).readString(QStringLiteral("Glavno"), QStringLiteral("Jezik")),
             QStringLiteral("SLO"));
    QCOMPARE(IniFile(program + QStringLiteral("veldra.ini")).readString(QStringLiteral("Glavno"), QStringLiteral("PathPodatki")),
             database);
    QVERIFY(!QFileInfo::exists(program + QStringLiteral("manjka.sh")));
    // The link of the last program remains, although that one could not be copied.
    const QByteArray desktop = readFile(world.home() + QStringLiteral("Desktop/Korvan Veldra.desktop"));
    QVERIFY2(desktop.contains("manjka.sh"), desktop.constData());
    QDirIterator menu(world.home() + QStringLiteral(".local/share/applications"), {QStringLiteral("Korvan Veldra.desktop")},
                      QDir::Files, QDirIterator::Subdirectories);
    QVERIFY(menu.hasNext());
    QTRY_COMPARE_WITH_TIMEOUT(readFile(marker).trimmed(), QDir::cleanPath(program).toUtf8(), 10000);
}

void TestSetupWindows::singleFileShowsZeroThenHundred()
{
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nveldra=%ProgramFolder%veldra\n");
    writeFile(world.installer() + QStringLiteral("veldra"), "program");
    const SetupScript script = ReadSetupScript(world.installer());
    TNamestitev window(script);
    window.Edit2->setText(world.target() + QStringLiteral("Program"));
    window.Edit3->setText(world.target() + QStringLiteral("Podatki"));
    QStringList progress;
    connect(window.ProgressBar1, &QProgressBar::valueChanged, this,
            [&] { progress << window.ProgressBar1->text(); });
    BoxAnswers boxes;
    window.BitBtn1->click();

    QCOMPARE(boxes.seen, QStringList());
    QCOMPARE(progress, QStringList({"[0%]", "[100%]"}));
    QCOMPARE(readFile(world.target() + QStringLiteral("Program/veldra")), QByteArray("program"));
}

void TestSetupWindows::checksBeforeInstalling_data()
{
    QTest::addColumn<bool>("groupTicked");
    QTest::addColumn<QString>("group");
    QTest::addColumn<bool>("programExists");
    QTest::addColumn<QString>("installedVersion"); // null: no database folder; empty: no version file
    QTest::addColumn<QList<QMessageBox::StandardButton>>("answers");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("installed");

    using Answers = QList<QMessageBox::StandardButton>;
    const QString differs = QStringLiteral("warning: Baza podatkov v novi verziji se razlikuje!\nNamestitev ni mogoča!");
    QTest::newRow("group ticked, no name") << true << " " << false << QString() << Answers{}
                                           << QStringList{"warning: Vpišite ime grupe!"} << false;
    QTest::newRow("group unticked, no name") << false << "" << false << QString() << Answers{} << QStringList{} << true;
    QTest::newRow("program folder exists, No")
        << true << "Korvan" << true << "1.2" << Answers{QMessageBox::No} << QStringList{ProgramQuestion} << false;
    QTest::newRow("program Yes, database No") << true << "Korvan" << true << "1.2"
                                              << Answers{QMessageBox::Yes, QMessageBox::No}
                                              << QStringList{ProgramQuestion, DatabaseQuestion} << false;
    QTest::newRow("same database version") << true << "Korvan" << false << "1.2" << Answers{QMessageBox::Yes}
                                           << QStringList{DatabaseQuestion} << true;
    QTest::newRow("different database version") << true << "Korvan" << false << "1.1" << Answers{QMessageBox::Yes}
                                                 << QStringList{DatabaseQuestion, differs} << false;
    QTest::newRow("database folder without version file") << true << "Korvan" << false << "" << Answers{QMessageBox::Yes}
                                                          << QStringList{DatabaseQuestion, differs} << false;
}

void TestSetupWindows::checksBeforeInstalling()
{
    QFETCH(bool, groupTicked);
    QFETCH(QString, group);
    QFETCH(bool, programExists);
    QFETCH(QString, installedVersion);
    QFETCH(QList<QMessageBox::StandardButton>, answers);
    QFETCH(bool, installed);
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nVerzija.ini=%MrezaFolder%Verzija.ini;DBCHECKVER\n");
    writeFile(world.installer() + QStringLiteral("Verzija.ini"), "[Baza]\nVerzija=1.2\n");
    const QString program = world.target() + QStringLiteral("Program/");
    const QString database = world.target() + QStringLiteral("Podatki/");
    if (programExists)
        QDir().mkpath(program);
    if (!installedVersion.isNull())
        QDir().mkpath(database);
    if (!installedVersion.isEmpty())
        writeFile(database + QStringLiteral("Verzija.ini"), "[Baza]\nVerzija=" + installedVersion.toUtf8() + "\n");

    const SetupScript script = ReadSetupScript(world.installer());
    TNamestitev window(script);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.CheckListBox1->item(TNamestitev::MenuGroup)->setCheckState(groupTicked ? Qt::Checked : Qt::Unchecked);
    window.Edit1->setText(group);
    window.Edit2->setText(program);
    window.Edit3->setText(database);
    BoxAnswers boxes(answers);
    window.BitBtn1->click();

    QTEST(boxes.seen, "boxes");
    QCOMPARE(window.result() == QDialog::Accepted, installed);
    QCOMPARE(QFileInfo::exists(program), programExists || installed);
    if (!installed) {
        // Back to the window, everything as it was.
        QVERIFY(window.isVisible());
        QVERIFY(!window.Panel1->isVisible());
        for (QWidget *input : std::initializer_list<QWidget *>{window.Edit1, window.Edit2, window.Edit3, window.CheckListBox1,
                                                               window.BitBtn1, window.BitBtn2})
            QVERIFY2(input->isEnabled(), qPrintable(input->objectName()));
    }
    if (installed && !groupTicked)
        QVERIFY(!QFileInfo::exists(world.home() + QStringLiteral(".local/share/applications")));
}

void TestSetupWindows::replaceFailureEndsInstaller()
{
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n[Datoteke]\nprvi=%ProgramFolder%prvi\nzaseden=%ProgramFolder%zaseden\n"
                      "zadnji=%ProgramFolder%zadnji\n");
    for (const char *name : {"prvi", "zaseden", "zadnji"})
        writeFile(world.installer() + QLatin1String(name), name);
    const QString program = world.target() + QStringLiteral("Program/");
    // A target that cannot be deleted: a folder with a file in it.
    writeFile(program + QStringLiteral("zaseden/datoteka"), "kept");

    const SetupScript script = ReadSetupScript(world.installer());
    TNamestitev window(script);
    window.Edit2->setText(program);
    window.Edit3->setText(world.target() + QStringLiteral("Podatki"));
    BoxAnswers boxes({QMessageBox::Yes, QMessageBox::Ok});
    window.BitBtn1->click();

    QCOMPARE(boxes.seen, QStringList({ProgramQuestion,
                                      "critical: Napaka med namestitvijo!\nProgram bo lahko deloval z napakami!"}));
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(readFile(program + QStringLiteral("prvi")), QByteArray("prvi"));
    QVERIFY(!QFileInfo::exists(program + QStringLiteral("zadnji")));
}

void TestSetupWindows::secondSetupRaisesFirst()
{
    SetupWorld world;
    world.writeScript("[Glavno]\nIme=Veldra\n");
    const QString setup = world.installer() + QStringLiteral("setup");
    QVERIFY(QFile::copy(QStringLiteral(SETUP_EXECUTABLE), setup));
    QVERIFY(QFile::setPermissions(setup, QFile::permissions(QStringLiteral(SETUP_EXECUTABLE))));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const auto start = [&](QProcess &process) {
        process.setProcessEnvironment(environment);
        process.start(setup, {});
        QVERIFY(process.waitForStarted());
    };
    const QString key = QStringLiteral("Software\\Setup\\Nastavitve");

    QProcess first;
    const auto stopFirst = qScopeGuard([&first] {
        first.terminate();
        if (!first.waitForFinished(5000))
            first.kill();
        first.waitForFinished();
    });
    start(first);
    QTRY_VERIFY_WITH_TIMEOUT(!Registry::readString(key, QStringLiteral("Handle")).isEmpty(), 10000);
    const QString handle = Registry::readString(key, QStringLiteral("Handle"));
    bool decimal = false;
    QVERIFY(handle.toULongLong(&decimal) > 0 && decimal);

    QProcess second;
    start(second);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    // The running copy took the request to come to the front; the second did not take its place.
    const QByteArray complaint = second.readAllStandardError();
    QVERIFY2(!complaint.contains("does not answer"), complaint.constData());
    QCOMPARE(Registry::readString(key, QStringLiteral("Handle")), handle);
    QCOMPARE(first.state(), QProcess::Running);
}

QTEST_MAIN(TestSetupWindows)
#include "tst_SetupWindows.moc"
