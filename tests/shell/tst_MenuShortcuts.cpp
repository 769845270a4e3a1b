#include "MenuShortcuts.h"
#include "Settings.h"
#include "TestInstallation.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

class TestMenuShortcuts : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void codes_data();
    void codes();
    void saveNamesValuesByPositionOrTag();
    void removedDefaultStaysRemoved();
    void loadAppliesStoredShortcuts();
    void loadWithoutDefChangesNothing();
    void moduleMenusTakeNoPlace();

private:
    // Glavno: [Izhod Ctrl+X]; Šifranti: [Kraji F5, separator, Alarmi]; Programi: [tagged entry]
    struct Menu
    {
        QMenuBar bar;
        QAction *izhod, *kraji, *alarmi, *program;
        Menu()
        {
            QMenu *glavno = bar.addMenu(QStringLiteral("&Glavno"));
            izhod = glavno->addAction(QStringLiteral("&Izhod"));
            SetDefaultShortcut(izhod, QKeySequence(Qt::CTRL | Qt::Key_X));
            QMenu *sifranti = bar.addMenu(QStringLiteral("&Šifranti"));
            kraji = sifranti->addAction(QStringLiteral("&Kraji"));
            SetDefaultShortcut(kraji, Qt::Key_F5);
            sifranti->addSeparator();
            alarmi = sifranti->addAction(QStringLiteral("Alarmi"));
            QMenu *programs = bar.addMenu(QStringLiteral("Programi"));
            program = programs->addAction(QStringLiteral("Beležnica"));
            SetMenuTag(program, 1101);
        }
    };

    QString stored(const QString &name) const
    {
        return ReadRegString(QString::fromLatin1(KeyMenuShortCuts), name);
    }
    void store(const QString &name, const QString &value)
    {
        WriteRegString(QString::fromLatin1(KeyMenuShortCuts), name, value);
    }
};

void TestMenuShortcuts::codes_data()
{
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<int>("code");
    QTest::newRow("Ctrl+X") << QKeySequence(Qt::CTRL | Qt::Key_X) << 16472;
    QTest::newRow("F5") << QKeySequence(Qt::Key_F5) << 116;
    QTest::newRow("Shift+F12") << QKeySequence(Qt::SHIFT | Qt::Key_F12) << 8192 + 0x7B;
    QTest::newRow("Alt+1") << QKeySequence(Qt::ALT | Qt::Key_1) << 32768 + 0x31;
    QTest::newRow("Ctrl+Shift+Delete") << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete) << 16384 + 8192 + 0x2E;
    QTest::newRow("Ctrl+comma") << QKeySequence(Qt::CTRL | Qt::Key_Comma) << 16384 + 0xBC;
    QTest::newRow("keypad 5") << QKeySequence(Qt::KeypadModifier | Qt::Key_5) << 0x65;
    QTest::newRow("none") << QKeySequence() << 0;
}

void TestMenuShortcuts::codes()
{
    QFETCH(QKeySequence, shortcut);
    QFETCH(int, code);
    QCOMPARE(ShortcutToCode(shortcut), code);
    QCOMPARE(CodeToShortcut(code), shortcut);
}

void TestMenuShortcuts::saveNamesValuesByPositionOrTag()
{
    TestInstallation installation;
    Menu menu;
    menu.program->setShortcut(Qt::Key_F9);
    SaveMenuShortcuts(&menu.bar);
    QCOMPARE(stored(QStringLiteral("DEF")), QStringLiteral("DEF"));
    QCOMPARE(stored(QStringLiteral("0;0")), QStringLiteral("16472"));
    QCOMPARE(stored(QStringLiteral("1;0")), QStringLiteral("116"));
    QCOMPARE(stored(QStringLiteral("1;2")), QString()); // no shortcut, nothing stored before
    QCOMPARE(stored(QStringLiteral("1101")), QStringLiteral("120"));
    QCOMPARE(stored(QStringLiteral("2;0")), QString());

    // A shortcut the user removed is stored as none, so that it does not come back.
    menu.kraji->setShortcut(QKeySequence());
    SaveMenuShortcuts(&menu.bar);
    QCOMPARE(stored(QStringLiteral("1;0")), QStringLiteral("0"));
    Menu restarted;
    LoadMenuShortcuts(&restarted.bar);
    QVERIFY(restarted.kraji->shortcut().isEmpty());
}

void TestMenuShortcuts::removedDefaultStaysRemoved()
{
    TestInstallation installation;
    Menu menu;
    menu.izhod->setShortcut(QKeySequence()); // nothing was stored for it before
    SaveMenuShortcuts(&menu.bar);
    QCOMPARE(stored(QStringLiteral("0;0")), QStringLiteral("0"));
    QCOMPARE(stored(QStringLiteral("1;2")), QString()); // no default, no shortcut: nothing stored
    Menu restarted;
    LoadMenuShortcuts(&restarted.bar);
    QVERIFY(restarted.izhod->shortcut().isEmpty());
    QCOMPARE(restarted.kraji->shortcut(), QKeySequence(Qt::Key_F5));
}

void TestMenuShortcuts::loadAppliesStoredShortcuts()
{
    TestInstallation installation;
    store(QStringLiteral("DEF"), QStringLiteral("DEF"));
    store(QStringLiteral("1;0"), QStringLiteral("117"));      // Kraji: F6
    store(QStringLiteral("1;2"), QStringLiteral("16449"));    // Alarmi: Ctrl+A
    store(QStringLiteral("0;0"), QStringLiteral("Ctrl+Q"));   // not a number: passed over
    store(QStringLiteral("1101"), QStringLiteral("32880"));   // tagged entry: Alt+F1
    Menu menu;
    LoadMenuShortcuts(&menu.bar);
    QCOMPARE(menu.kraji->shortcut(), QKeySequence(Qt::Key_F6));
    QCOMPARE(menu.alarmi->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    QCOMPARE(menu.izhod->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    QCOMPARE(menu.program->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F1));
}

void TestMenuShortcuts::loadWithoutDefChangesNothing()
{
    TestInstallation installation;
    store(QStringLiteral("1;0"), QStringLiteral("117"));
    Menu menu;
    LoadMenuShortcuts(&menu.bar);
    QCOMPARE(menu.kraji->shortcut(), QKeySequence(Qt::Key_F5));
}

// The modules' menus come after the shortcuts are read at start: one made before the last
// menu while the shortcuts are stored must not move the positions they are stored under.
void TestMenuShortcuts::moduleMenusTakeNoPlace()
{
    TestInstallation installation;
    Menu menu;
    QMenu *module = new QMenu(QStringLiteral("Orodja"), &menu.bar);
    SetMenuTag(module->menuAction(), 2001);
    module->addAction(QStringLiteral("Modul"));
    menu.bar.insertMenu(menu.bar.actions().at(1), module);
    menu.alarmi->setShortcut(Qt::Key_F7);
    SaveMenuShortcuts(&menu.bar);
    Menu restarted;
    LoadMenuShortcuts(&restarted.bar);
    QCOMPARE(restarted.alarmi->shortcut(), QKeySequence(Qt::Key_F7));
}

QTEST_MAIN(TestMenuShortcuts)
#include "tst_MenuShortcuts.moc"
