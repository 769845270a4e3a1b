#include "ExternalPrograms.h"
#include "FileIcon.h"
#include "MenuShortcuts.h"
#include "ModalAnswer.h"
#include "RecordingProgram.h"
#include "TestInstallation.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTest>

#include <memory>

namespace {

const QString Moduli = QStringLiteral("Moduli.ini");

// The main window's menu bar in small: the last menu is the one groups go before.
std::unique_ptr<QMenuBar> mainMenu()
{
    auto bar = std::make_unique<QMenuBar>();
    bar->addMenu(QStringLiteral("&Glavno"))->addAction(QStringLiteral("&Izhod"));
    bar->addMenu(QStringLiteral("&Šifranti"))->addAction(QStringLiteral("&Kraji"));
    bar->addMenu(QStringLiteral("&Pomoc"))->addAction(QStringLiteral("Vizitka"));
    return bar;
}

QString tagged(const QAction *action)
{
    const int tag = MenuTag(action);
    return action->text() + (tag ? QStringLiteral("[%1]").arg(tag) : QString());
}

// "menu[tag]: item[tag], item | next menu ..."
QString describe(const QMenuBar *bar)
{
    QStringList menus;
    for (const QAction *top : bar->actions()) {
        QStringList items;
        for (const QAction *item : top->menu()->actions())
            items.append(tagged(item));
        menus.append(tagged(top) + QStringLiteral(": ") + items.join(QStringLiteral(", ")));
    }
    return menus.join(QStringLiteral(" | "));
}

QString plainMenu()
{
    return QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | &Pomoc: Vizitka");
}

QAction *itemTagged(const QMenuBar *bar, int tag)
{
    for (const QAction *top : bar->actions())
        for (QAction *item : top->menu()->actions())
            if (MenuTag(item) == tag)
                return item;
    return nullptr;
}

QColor colourOf(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage().pixelColor(8, 8);
}

}

class tst_ExternalPrograms : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> m_installation;

    QString folder() const { return m_installation->programFolder(); }

    void writeModuli(const QByteArray &text)
    {
        QFile file(folder() + Moduli);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    // A program that writes down the folder it was started in, into <name>.ran beside it.
    QString fakeProgram(const QString &name)
    {
        QDir().mkpath(m_installation->root() + QStringLiteral("tools"));
        const QString path = m_installation->root() + QStringLiteral("tools/") + name;
        QFile script(path);
        if (!script.open(QIODevice::WriteOnly))
            return QString();
        script.write("#!/bin/sh\npwd > '" + QFile::encodeName(path) + ".ran'\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
        return path;
    }

    static QString ranIn(const QString &program)
    {
        QFile file(program + QStringLiteral(".ran"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()).trimmed() : QString();
    }

private Q_SLOTS:
    void init() { m_installation = std::make_unique<TestInstallation>(); }
    void cleanup() { m_installation.reset(); }

    void buildsMenus_data()
    {
        QTest::addColumn<QByteArray>("moduli");
        QTest::addColumn<QString>("menu");

        QTest::newRow("no file") << QByteArray() << plainMenu();
        QTest::newRow("empty section") << QByteArray("[Zunanji programi]\n\n[Drugo]\nA=/a\n") << plainMenu();
        QTest::newRow("key alone, under Programi before the last menu")
            << QByteArray("[Zunanji programi]\nCalc=/usr/bin/calc\n")
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Programi[1000]: Calc[1100] | &Pomoc: Vizitka";
        QTest::newRow("group and caption; a group in other letter case joins it")
            << QByteArray("[zunanji PROGRAMI]\r\nA=/a.exe;Orodja;Urejevalnik\r\nB=/b;orodja;\r\n")
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[1000]: Urejevalnik[1100], B[1101] | &Pomoc: Vizitka";
        QTest::newRow("an existing menu, its & ignored")
            << QByteArray("[Zunanji programi]\nX=/x;glavno;Ena\nY=/y;POMOC;Dva\n")
            << "&Glavno: &Izhod, Ena[1100] | &Šifranti: &Kraji | &Pomoc: Vizitka, Dva[1101]";
        QTest::newRow("groups in order of first use, tagged by their first line")
            << QByteArray("[Zunanji programi]\nA=/a;G1;\nB=/b;G2;\nC=/c;g1;\n")
            << "&Glavno: &Izhod | &Šifranti: &Kraji | G1[1000]: A[1100], C[1102] | G2[1001]: B[1101] | &Pomoc: Vizitka";
        QTest::newRow("two lines with one key are both shown")
            << QByteArray("[Zunanji programi]\nPisar=/p;;Prvi\npisar=/q;;Drugi\n")
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Programi[1000]: Prvi[1100], Drugi[1101] | &Pomoc: Vizitka";
        QTest::newRow("comments, other sections and a second section of the name are not lines")
            << QByteArray("[Drugo]\nZ=/z\n[Zunanji programi]\n; K=/k\nnot a line\nA=/a\n[Drugo2]\nY=/y\n"
                          "[Zunanji programi]\nB=/b\n")
            << "&Glavno: &Izhod | &Šifranti: &Kraji | Programi[1000]: A[1100] | &Pomoc: Vizitka";
    }

    void buildsMenus()
    {
        QFETCH(QByteArray, moduli);
        QFETCH(QString, menu);
        if (!moduli.isEmpty())
            writeModuli(moduli);
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        QCOMPARE(describe(bar.get()), menu);
    }

    void itemsCarryPathAsHintAndAnIcon()
    {
        const QString program = fakeProgram(QStringLiteral("urejevalnik"));
        writeModuli("[Zunanji programi]\nU=" + program.toUtf8() + ";;Urejevalnik\nN=;;Nic\n");
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        QAction *item = itemTagged(bar.get(), 1100);
        QVERIFY(item);
        QCOMPARE(item->statusTip(), program);
        QVERIFY(!item->icon().isNull());
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(itemTagged(bar.get(), 1101)); // an empty path still gives an item
    }

    // What the settings window does after saving: remove, then build from the file again.
    void rebuildingLeavesExactlyTheListedItems()
    {
        writeModuli("[Zunanji programi]\nA=/a;Glavno;Ena\nB=/b;;Dva\nC=/c;Orodja;Tri\n");
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        const QString once = describe(bar.get());

        RemoveProgramMenus(bar.get());
        QCOMPARE(describe(bar.get()), plainMenu());
        BuildProgramMenus(Moduli, bar.get(), {});
        RemoveProgramMenus(bar.get());
        BuildProgramMenus(Moduli, bar.get(), {});
        QCOMPARE(describe(bar.get()), once);

        writeModuli("[Zunanji programi]\nC=/c;Orodja;Tri\n");
        RemoveProgramMenus(bar.get());
        BuildProgramMenus(Moduli, bar.get(), {});
        QCOMPARE(describe(bar.get()),
                 QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[1000]: Tri[1100] | &Pomoc: Vizitka"));
    }

    // A module's item that joined a program group keeps its menu when the programs go.
    void groupHoldingAModuleItemStays()
    {
        writeModuli("[Zunanji programi]\nC=/c;Orodja;Tri\n");
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        QAction *module = bar->actions().at(2)->menu()->addAction(QStringLiteral("Modul"));
        SetMenuTag(module, 2100);
        RemoveProgramMenus(bar.get());
        QCOMPARE(describe(bar.get()),
                 QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[1000]: Modul[2100] | &Pomoc: Vizitka"));
        BuildProgramMenus(Moduli, bar.get(), {});
        QCOMPARE(describe(bar.get()), QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | Orodja[1000]: Modul[2100], "
                                                     "Tri[1100] | &Pomoc: Vizitka"));
    }

    void clickStartsTheProgramOfTheLineAsTheFileNowStands()
    {
        const QString first = fakeProgram(QStringLiteral("prvi"));
        const QString second = fakeProgram(QStringLiteral("drugi"));
        writeModuli("[Zunanji programi]\nP=" + first.toUtf8() + "\n");
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), ZunanjiProgramiClick); // as the main window does
        QAction *item = itemTagged(bar.get(), 1100);
        QVERIFY(item);
        QVERIFY(StartExternalProgram(Moduli, 1100));
        QTRY_COMPARE(ranIn(first), QFileInfo(first).absolutePath());
        QFile::remove(first + QStringLiteral(".ran"));

        writeModuli("[Zunanji programi]\nD=" + second.toUtf8() + "\nP=" + first.toUtf8() + "\n");
        item->trigger();
        QTRY_COMPARE(ranIn(second), QFileInfo(second).absolutePath());
        QTest::qWait(200);
        QVERIFY(ranIn(first).isEmpty());
    }

    // Nothing may reach the desktop's opener either: a stand-in for it records any call.
    void missingFileDoesNothingAndSaysNothing()
    {
        RecordingProgram opener(QStringLiteral("xdg-open"));
        opener.install();
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(opener.folder()) + ':' + path);
        const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });

        const QString gone = folder() + QStringLiteral("ni/program");
        writeModuli("[Zunanji programi]\nX=" + gone.toUtf8() + "\nE=\nF=" + folder().toUtf8() + "\n");
        auto told = ModalAnswer::press(QString(), 300);
        QVERIFY(!StartExternalProgram(Moduli, 1100));
        QVERIFY(!StartExternalProgram(Moduli, 1101));
        QVERIFY(!StartExternalProgram(Moduli, 1102)); // a folder is no program file
        QTest::qWait(400);
        QVERIFY(!told->shown);
        QVERIFY(!opener.ran());
    }

    void startsOnlyTagsOfExistingLinesUpTo1199_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("started");
        QTest::newRow("first line") << 1100 << true;
        QTest::newRow("100th line") << 1199 << true;
        QTest::newRow("101st line, shown but not started") << 1200 << false;
        QTest::newRow("a group's tag") << 1000 << false;
        QTest::newRow("below") << 1099 << false;
        QTest::newRow("no such line") << 1100 + 101 << false;
    }

    void startsOnlyTagsOfExistingLinesUpTo1199()
    {
        QFETCH(int, tag);
        QFETCH(bool, started);
        const QString program = fakeProgram(QStringLiteral("p"));
        QByteArray moduli = "[Zunanji programi]\n";
        for (int i = 0; i < 101; ++i)
            moduli += "K" + QByteArray::number(i) + '=' + program.toUtf8() + '\n';
        writeModuli(moduli);
        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        QVERIFY(itemTagged(bar.get(), 1200));

        QCOMPARE(StartExternalProgram(Moduli, tag), started);
        if (started)
            QTRY_VERIFY(!ranIn(program).isEmpty());
    }

    void fileIconsFallBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("create");
        QTest::newRow("text file") << "opomba.txt" << true;
        QTest::newRow("missing text file") << "ni.txt" << false;
        QTest::newRow("missing file of no known type") << "ni.qqq" << false;
        QTest::newRow("program") << "program" << true;
        QTest::newRow("library without pictures") << "modul.so" << true;
        QTest::newRow("no name") << "" << false;
    }

    void fileIconsFallBack()
    {
        QFETCH(QString, name);
        QFETCH(bool, create);
        const QString path = name.isEmpty() ? QString() : folder() + name;
        if (create) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
        }
        const QIcon icon = GetFileIcon(path, 0);
        QVERIFY(!icon.isNull());
        QVERIFY(!icon.pixmap(16, 16).isNull());
    }

    void fileIconsOfLibrariesAndPictures()
    {
        const QString library = folder() + QStringLiteral("modul.so");
        QFile(library).open(QIODevice::WriteOnly);
        QImage red(16, 16, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(library + QStringLiteral(".3.png")));
        QCOMPARE(colourOf(GetFileIcon(library, 3)), QColor(Qt::red));
        const QIcon other = GetFileIcon(library, 0);
        QVERIFY(!other.isNull());
        QVERIFY(colourOf(other) != QColor(Qt::red));

        QImage blue(16, 16, QImage::Format_RGB32);
        blue.fill(Qt::blue);
        const QString picture = folder() + QStringLiteral("slika.png");
        QVERIFY(blue.save(picture));
        QCOMPARE(colourOf(GetFileIcon(picture)), QColor(Qt::blue));
    }

    void writingGivesEveryEntryAKeyOfItsOwn()
    {
        writeModuli("; seznam programov\n[Zunanji programi]\nStaro=/staro\n[Drugo]\nA=1\n");
        const QList<ExternalProgram> entries = {
            {QStringLiteral("calc"), QStringLiteral("/usr/bin/calc"), QString(), QString()},
            {QStringLiteral("Calc"), QStringLiteral("/opt/calc"), QStringLiteral("Orodja"), QString()},
            {QStringLiteral("calc"), QStringLiteral("/x/calc"), QString(), QStringLiteral("Tretji")},
            {QString(), QStringLiteral("/usr/bin/pisar.bin"), QString(), QString()},
            {QStringLiteral("a=b"), QStringLiteral("/ab"), QString(), QStringLiteral("AB")},
        };
        const QList<ExternalProgram> written = WriteExternalPrograms(Moduli, entries);

        QStringList keys;
        for (const ExternalProgram &entry : written)
            keys.append(entry.key);
        QCOMPARE(keys, (QStringList{"calc", "Calc 2", "calc 3", "pisar", "ab"}));
        QCOMPARE(written[1].caption, QStringLiteral("Calc")); // still shown as before
        QCOMPARE(written[1].group, QStringLiteral("Orodja"));
        QCOMPARE(written[2].caption, QStringLiteral("Tretji"));
        QCOMPARE(ReadExternalPrograms(Moduli), written);

        auto bar = mainMenu();
        BuildProgramMenus(Moduli, bar.get(), {});
        QCOMPARE(describe(bar.get()),
                 QStringLiteral("&Glavno: &Izhod | &Šifranti: &Kraji | Programi[1000]: calc[1100], Tretji[1102], "
                                "pisar[1103], AB[1104] | Orodja[1001]: Calc[1101] | &Pomoc: Vizitka"));

        QFile file(folder() + Moduli);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(!text.contains("Staro"));
        QVERIFY(text.startsWith("; seznam programov\n"));
        QVERIFY(text.contains("[Drugo]\nA=1"));
    }
};

QTEST_MAIN(tst_ExternalPrograms)
#include "tst_ExternalPrograms.moc"
