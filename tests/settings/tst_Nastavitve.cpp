#include "ColourComboBox.h"
#include "ColourScheme.h"
#include "ExternalPrograms.h"
#include "FlatButton.h"
#include "GeneralPage.h"
#include "HotKeyEdit.h"
#include "MenuShortcuts.h"
#include "ModalAnswer.h"
#include "PanelDesign.h"
#include "PanelDesigner.h"
#include "ProgramsPage.h"
#include "Settings.h"
#include "ShortcutsPage.h"
#include "TestInstallation.h"
#include "ThemePage.h"
#include "UFMain.h"
#include "UFNastavitve.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include <memory>

namespace {

const QString Moduli = QStringLiteral("Moduli.ini");

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

QString barve()
{
    return QString::fromLatin1(KeyBarve);
}

// The main window as the program builds it, with the external programs menu, and the
// settings window made after it, as at start.
struct World
{
    explicit World(const UpgradeCheckLink &upgradeCheck = {})
    {
        MainWindowServices services;
        services.buildExternalProgramsMenu = [](QMenuBar *menu) {
            BuildProgramMenus(Moduli, menu, ZunanjiProgramiClick);
        };
        main = std::make_unique<TFMain>(services);
        settings = new TNastavitve(main.get(), upgradeCheck);
        // Shown without its own modality, so that only the boxes it opens are modal.
        settings->setModal(false);
        settings->show();
    }

    QMenuBar *menu() const { return main->menuBar(); }
    void confirm() const { settings->BitBtn1->click(); }
    void cancel() const { settings->BitBtn2->click(); }

    std::unique_ptr<TFMain> main;
    TNastavitve *settings;
};

QTreeWidgetItem *node(QTreeWidget *tree, const QString &path)
{
    const QStringList names = path.split(QLatin1Char('/'));
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = tree->topLevelItem(i);
        if (top->text(0) != names.first())
            continue;
        if (names.size() == 1)
            return top;
        for (int j = 0; j < top->childCount(); ++j)
            if (top->child(j)->text(0) == names[1])
                return top->child(j);
    }
    return nullptr;
}

// "root: child, child | root ..."
QString describe(const QTreeWidget *tree)
{
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *top = tree->topLevelItem(i);
        QStringList children;
        for (int j = 0; j < top->childCount(); ++j)
            children.append(top->child(j)->text(0));
        roots.append(children.isEmpty() ? top->text(0) : top->text(0) + QStringLiteral(": ") + children.join(QStringLiteral(", ")));
    }
    return roots.join(QStringLiteral(" | "));
}

// The items of the top-level menu with that caption, "&" aside.
QStringList menuItems(const QMenuBar *bar, const QString &caption)
{
    QStringList items;
    for (const QAction *top : bar->actions())
        if (top->text().remove(QLatin1Char('&')) == caption && top->menu())
            for (const QAction *item : top->menu()->actions())
                items.append(item->text());
    return items;
}

QStringList topLevelCaptions(const QMenuBar *bar)
{
    QStringList captions;
    for (const QAction *top : bar->actions())
        captions.append(top->text().remove(QLatin1Char('&')));
    return captions;
}

QAction *menuItem(const QMenuBar *bar, const QString &caption, const QString &item)
{
    for (const QAction *top : bar->actions())
        if (top->text().remove(QLatin1Char('&')) == caption && top->menu())
            for (QAction *entry : top->menu()->actions())
                if (entry->text().remove(QLatin1Char('&')) == item)
                    return entry;
    return nullptr;
}

QString colours(const ThemePage *page)
{
    QStringList values;
    for (const ColourComboBox *box : page->ColorBoxes)
        values.append(QString::number(box->colourRef()));
    return values.join(QLatin1Char(' '));
}

QString storedColours()
{
    QStringList values;
    for (const char *name : ThemePage::ColourNames)
        values.append(ReadRegString(barve(), QString::fromLatin1(name)));
    return values.join(QLatin1Char(' '));
}

}

class tst_Nastavitve : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestInstallation> m_installation;

    void writeModuli(const QByteArray &text)
    {
        QFile file(m_installation->programFolder() + Moduli);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QString makeFile(const QString &name)
    {
        const QString path = m_installation->root() + name;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write("#!/bin/sh\n");
        return path;
    }

private Q_SLOTS:
    void init() { m_installation = std::make_unique<TestInstallation>(); }
    void cleanup() { m_installation.reset(); }

    void readsTheStoredValues_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("shown");
        const QString defaults = QStringLiteral("hide 0 120 off | Slovenski | shift 1 | trellan 1 | days 14");
        QTest::newRow("nothing stored") << QStringList() << defaults;
        QTest::newRow("unreadable values")
            << QStringList{"SkrijPo=abc", "SkrijAuto=ja", "AutoShift=?", "LangID=x", "Trellan=", "CheckNewVer=zz"}
            << defaults;
        QTest::newRow("stored values")
            << QStringList{"SkrijPo=300", "SkrijAuto=-1", "AutoShift=0", "LangID=1033", "Trellan=0", "CheckNewVer=30"}
            << QStringLiteral("hide 1 300 on | Angleški | shift 0 | trellan 0 | days 30");
        QTest::newRow("another language, seconds out of range")
            << QStringList{"SkrijPo=5", "SkrijAuto=true", "LangID=1060"}
            << QStringLiteral("hide 1 10 on | Angleški | shift 1 | trellan 1 | days 14");
    }

    void readsTheStoredValues()
    {
        QFETCH(QStringList, stored);
        QFETCH(QString, shown);
        for (const QString &value : stored)
            WriteRegString(nastavitve(), value.section(QLatin1Char('='), 0, 0), value.section(QLatin1Char('='), 1));
        World world;
        const GeneralPage *page = world.settings->General;
        const QString state = QStringLiteral("hide %1 %2 %3 | %4 | shift %5 | trellan %6 | days %7")
                                  .arg(int(page->CheckBox1->isChecked()))
                                  .arg(page->SpinEdit1->value())
                                  .arg(page->SpinEdit1->isEnabled() ? QStringLiteral("on") : QStringLiteral("off"))
                                  .arg(page->ComboBox4->currentText())
                                  .arg(int(page->CheckBox2->isChecked()))
                                  .arg(int(page->CheckBox3->isChecked()))
                                  .arg(page->SpinEdit2->value());
        QCOMPARE(state, shown);
    }

    void pagesAndButtons()
    {
        World world;
        const QTabWidget *pages = world.settings->PageControl1;
        QStringList captions;
        for (int i = 0; i < pages->count(); ++i)
            captions.append(pages->tabText(i));
        QCOMPARE(captions, (QStringList{"Bližnjice", "Programi", "Tema", "Splošno"}));
        QCOMPARE(pages->currentIndex(), 0);
        QCOMPARE(pages->tabPosition(), QTabWidget::West);
        QCOMPARE(world.settings->BitBtn2->text(), QStringLiteral("&Prekliči"));
        QCOMPARE(world.settings->BitBtn1->text(), QStringLiteral("Pot&rdi"));
        QCOMPARE(world.settings->windowTitle(), QStringLiteral("Nastavitve"));
    }

    void versionGroupOnlyWhenTheCheckIsOffered()
    {
        {
            World world;
            QVERIFY(world.settings->General->GroupBox1->isHidden());
        }
        int checks = 0;
        World world({[] { return true; }, [&checks] { ++checks; }});
        QVERIFY(!world.settings->General->GroupBox1->isHidden());
        world.settings->General->Button1->click();
        QCOMPARE(checks, 1);
    }

    void shortcutTreeFollowsTheMenu()
    {
        writeModuli("[Zunanji programi]\nUrejevalnik=/usr/bin/ed;Orodja;Urejevalnik\n");
        World world;
        const ShortcutsPage *page = world.settings->Shortcuts;
        // Separators, the external programs and their menu are no commands here.
        QCOMPARE(describe(page->TreeView1), QStringLiteral("Glavno: Nastavitve, Izhod, Uvoz ..., Izvoz ... | Šifranti: Kraji, Pokrajine, "
                                                           "Države, Kategorije, Kontakti, Alarmi | Pomoc: Vizitka"));

        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Šifranti/Kraji")));
        QCOMPARE(page->Label1->text(), QStringLiteral("Kraji"));
        QVERIFY(page->HotKey1->isEnabled());
        QCOMPARE(page->HotKey1->keySequence(), QKeySequence(Qt::Key_F5));

        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Šifranti")));
        QVERIFY(!page->HotKey1->isEnabled());
        QVERIFY(page->HotKey1->keySequence().isEmpty());
    }

    void typedShortcutReachesTheMenuOnConfirm()
    {
        World world;
        const ShortcutsPage *page = world.settings->Shortcuts;
        QAction *kategorije = menuItem(world.menu(), QStringLiteral("Šifranti"), QStringLiteral("Kategorije"));
        QVERIFY(kategorije);
        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Šifranti/Kategorije")));
        page->HotKey1->setFocus();
        // A second key replaces the first: a shortcut is one key with its modifiers.
        QTest::keyClick(page->HotKey1, Qt::Key_J, Qt::ControlModifier);
        QTest::keyClick(page->HotKey1, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(page->HotKey1->keySequence(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
        QVERIFY(kategorije->shortcut().isEmpty());

        // Leaving the node and coming back shows what was typed.
        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Šifranti/Kraji")));
        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Šifranti/Kategorije")));
        QCOMPARE(page->HotKey1->keySequence(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));

        world.confirm();
        QCOMPARE(kategorije->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
        QCOMPARE(ReadRegString(QString::fromLatin1(KeyMenuShortCuts), QStringLiteral("1;4")),
                 QString::number(16384 + 8192 + 'K'));
    }

    void shortcutFollowsItsItemWhenProgramMenusMoveIt()
    {
        World world;
        // A program in a new group: its menu comes before "Pomoc" and moves it one place on.
        ModalAnswer::chooseFile(makeFile(QStringLiteral("ed")));
        world.settings->Programs->Dodaj->click();
        QTRY_COMPARE(world.settings->Programs->TreeView2->topLevelItemCount(), 1);
        world.settings->Programs->ComboBox1->setEditText(QStringLiteral("Orodja"));
        world.confirm();
        QCOMPARE(topLevelCaptions(world.menu()), (QStringList{"Glavno", "Šifranti", "Orodja", "Pomoc"}));

        world.settings->show();
        const ShortcutsPage *page = world.settings->Shortcuts;
        page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Pomoc/Vizitka")));
        page->HotKey1->setFocus();
        QTest::keyClick(page->HotKey1, Qt::Key_F1);
        world.confirm();
        QCOMPARE(menuItem(world.menu(), QStringLiteral("Pomoc"), QStringLiteral("Vizitka"))->shortcut(),
                 QKeySequence(Qt::Key_F1));
        QVERIFY(menuItem(world.menu(), QStringLiteral("Orodja"), QStringLiteral("ed"))->shortcut().isEmpty());
    }

    void programTreeFromTheFile()
    {
        const QString editor = makeFile(QStringLiteral("urejevalnik"));
        writeModuli(("[Zunanji programi]\nUrejevalnik=" + editor + ";Orodja;&Urejanje\nKalk=/usr/bin/bc;;\n").toUtf8());
        World world;
        const ProgramsPage *page = world.settings->Programs;
        QCOMPARE(describe(page->TreeView2), QStringLiteral("Urejanje | Kalk"));
        QVERIFY(!page->TreeView2->topLevelItem(0)->icon(0).isNull());
        QVERIFY(!page->ComboBox1->isEnabled());

        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(1));
        QVERIFY(page->ComboBox1->isEnabled());
        QCOMPARE(page->FilenameEdit1->text(), QStringLiteral("/usr/bin/bc"));
        QCOMPARE(page->ComboBox1->currentText(), QStringLiteral("Programi"));
        QCOMPARE(page->ComboBox2->currentText(), QStringLiteral("Kalk"));
        QStringList menus;
        for (int i = 0; i < page->ComboBox1->count(); ++i)
            menus.append(page->ComboBox1->itemText(i));
        QCOMPARE(menus, (QStringList{"Glavno", "Šifranti", "Orodja", "Programi", "Pomoc"}));
    }

    void twoProgramsInOneMenuStayTwo()
    {
        writeModuli("[Zunanji programi]\nA=/usr/bin/a;Orodja;Prvi\nB=/usr/bin/b;Orodja;Drugi\n");
        World world;
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Orodja")), (QStringList{"Prvi", "Drugi"}));
        world.confirm();
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Orodja")), (QStringList{"Prvi", "Drugi"}));
        world.settings->show();
        world.confirm();
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Orodja")), (QStringList{"Prvi", "Drugi"}));
        QCOMPARE(topLevelCaptions(world.menu()), (QStringList{"Glavno", "Šifranti", "Orodja", "Pomoc"}));
    }

    void addedAndEditedProgramsAreWrittenAndInTheMenu()
    {
        const QString first = makeFile(QStringLiteral("kalk"));
        QDir().mkpath(m_installation->root() + QStringLiteral("drugje"));
        const QString second = makeFile(QStringLiteral("drugje/kalk.sh"));
        writeModuli(("[Zunanji programi]\nkalk=" + first + ";Orodja;Kalkulator\n").toUtf8());
        World world;
        ProgramsPage *page = world.settings->Programs;
        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(0));

        // The same file name as the entry there: the new one must not replace it.
        ModalAnswer::chooseFile(second);
        page->Dodaj->click();
        QTRY_COMPARE(page->TreeView2->topLevelItemCount(), 2);
        QCOMPARE(page->TreeView2->currentItem(), page->TreeView2->topLevelItem(1));
        QCOMPARE(page->FilenameEdit1->text(), second);
        QCOMPARE(page->ComboBox1->currentText(), QStringLiteral("Orodja"));
        QCOMPARE(page->ComboBox2->currentText(), QStringLiteral("kalk"));

        page->ComboBox2->setEditText(QStringLiteral("Skripta"));
        QCOMPARE(page->TreeView2->topLevelItem(1)->text(0), QStringLiteral("Skripta"));
        page->ComboBox1->setEditText(QStringLiteral("Skripte"));

        world.confirm();
        const QList<ExternalProgram> written = ReadExternalPrograms(Moduli);
        QCOMPARE(written.size(), 2);
        QCOMPARE(written[0], (ExternalProgram{"kalk", first, "Orodja", "Kalkulator"}));
        QCOMPARE(written[1].path, second);
        QCOMPARE(written[1].group, QStringLiteral("Skripte"));
        QCOMPARE(written[1].caption, QStringLiteral("Skripta"));
        QVERIFY(written[1].key.compare(QStringLiteral("kalk"), Qt::CaseInsensitive) != 0);
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Orodja")), QStringList{"Kalkulator"});
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Skripte")), QStringList{"Skripta"});

        // The node now goes by its key in the file.
        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(0));
        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(1));
        QCOMPARE(page->ComboBox2->itemText(1), written[1].key);

        // Confirmed again, the file stays as it is.
        world.settings->show();
        world.confirm();
        QCOMPARE(ReadExternalPrograms(Moduli), written);
    }

    void pathChangesThroughItsDialogOnly()
    {
        const QString first = makeFile(QStringLiteral("prvi"));
        const QString other = makeFile(QStringLiteral("drugi"));
        writeModuli(("[Zunanji programi]\nPrvi=" + first + ";;\n").toUtf8());
        World world;
        ProgramsPage *page = world.settings->Programs;
        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(0));
        QVERIFY(page->FilenameEdit1->isReadOnly());
        ModalAnswer::chooseFile(other);
        page->FilenameButton->click();
        QTRY_COMPARE(page->FilenameEdit1->text(), other);
        world.confirm();
        QCOMPARE(ReadExternalPrograms(Moduli).value(0).path, other);
    }

    void removingAsksFirst_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("left");
        QTest::newRow("Da") << QStringLiteral("Da") << QStringLiteral("B");
        QTest::newRow("Ne") << QStringLiteral("Ne") << QStringLiteral("A | B");
    }

    void removingAsksFirst()
    {
        QFETCH(QString, answer);
        QFETCH(QString, left);
        writeModuli("[Zunanji programi]\nA=/usr/bin/a;;\nB=/usr/bin/b;;\n");
        World world;
        ProgramsPage *page = world.settings->Programs;
        page->TreeView2->setCurrentItem(page->TreeView2->topLevelItem(0));
        const auto seen = ModalAnswer::press(answer);
        page->Odstrani->click();
        QTRY_VERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Ali želite odstraniti povezavo na program oz. datoteko?"));
        QCOMPARE(describe(page->TreeView2), left);
        world.confirm();
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Programi")), left.split(QStringLiteral(" | ")));
    }

    void aFileWithoutTheSectionGetsIt()
    {
        writeModuli("[Drugo]\nA=1\n");
        World world;
        ProgramsPage *page = world.settings->Programs;
        QCOMPARE(page->TreeView2->topLevelItemCount(), 0);
        const QString tool = makeFile(QStringLiteral("orodje"));
        ModalAnswer::chooseFile(tool);
        page->Dodaj->click();
        QTRY_COMPARE(page->TreeView2->topLevelItemCount(), 1);
        world.confirm();
        QCOMPARE(ReadExternalPrograms(Moduli), (QList<ExternalProgram>{{"orodje", tool, "Programi", "orodje"}}));
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Programi")), QStringList{"orodje"});
        QCOMPARE(ReadIniString(m_installation->programFolder() + Moduli, QStringLiteral("Drugo"), QStringLiteral("A")),
                 QStringLiteral("1"));
    }

    void schemesSetTheColourBoxes()
    {
        WriteRegString(barve(), QStringLiteral("CT_WBack"), QStringLiteral("255"));
        WriteRegString(barve(), QStringLiteral("CT_BFont"), QStringLiteral("bela"));
        World world;
        ThemePage *page = world.settings->Theme;
        QCOMPARE(page->ComboBox3->currentText(), QStringLiteral("..Nastavljena"));
        QCOMPARE(colours(page), QStringLiteral("255 9521152 16777215 16750383 13395456 16744448 16758122 16777215"));
        page->chooseScheme(ThemePage::Standard);
        QCOMPARE(colours(page), QStringLiteral("-16777201 -16777200 0 -16777201 -16777201 -16777196 -16777200 -16777198"));
        page->chooseScheme(ThemePage::SinjeModra);
        QCOMPARE(colours(page), QStringLiteral("16769734 9521152 16777215 16750383 13395456 16744448 16758122 16777215"));
        page->chooseScheme(ThemePage::Nastavljena);
        QVERIFY(colours(page).startsWith(QStringLiteral("255 ")));
    }

    void confirmedColoursCountFromTheNextStart()
    {
        const QColor running = ColourScheme.CT_WBack;
        {
            World world;
            world.settings->Theme->chooseScheme(ThemePage::Standard);
            world.confirm();
            QCOMPARE(storedColours(),
                     QStringLiteral("-16777201 -16777200 0 -16777201 -16777201 -16777196 -16777200 -16777198"));
            QCOMPARE(ColourScheme.CT_WBack, running);
            // Shown again, "..Nastavljena" is what was stored.
            world.settings->Theme->chooseScheme(ThemePage::Nastavljena);
            QVERIFY(colours(world.settings->Theme).startsWith(QStringLiteral("-16777201 -16777200 0 ")));
        }
        World next;
        QVERIFY(colours(next.settings->Theme).startsWith(QStringLiteral("-16777201 -16777200 0 ")));
    }

    void backgroundSwitchesAtOnce_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << QStringLiteral("/") << QString();
        QTest::newRow("empty") << QString() << TFMain::BuiltInBackground();
        QTest::newRow("missing file") << QStringLiteral("/ni/take/slike.bmp") << TFMain::BuiltInBackground();
        QTest::newRow("a picture") << QStringLiteral("@ozadje.bmp") << QStringLiteral("@ozadje.bmp");
    }

    void backgroundSwitchesAtOnce()
    {
        QFETCH(QString, setting);
        QFETCH(QString, shown);
        const QString picture = m_installation->root() + QStringLiteral("ozadje.bmp");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::red);
        QVERIFY(image.save(picture, "BMP"));
        setting.replace(QLatin1Char('@'), m_installation->root());
        shown.replace(QLatin1Char('@'), m_installation->root());

        WriteRegString(nastavitve(), QStringLiteral("BackgroundImage"), QStringLiteral("/"));
        World world;
        QVERIFY(world.main->backgroundPicture().isEmpty());
        world.settings->Theme->FilenameEdit2->setEditText(setting);
        world.confirm();
        QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("BackgroundImage")), setting);
        QCOMPARE(world.main->backgroundPicture(), shown);
        QCOMPARE(world.main->mdiArea()->background().texture().isNull(), shown.isEmpty());
    }

    void droppedPictureGoesInTheField()
    {
        World world;
        QComboBox *field = world.settings->Theme->FilenameEdit2;
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/slike/ozadje.bmp"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(field, &drop);
        QCOMPARE(field->currentText(), QStringLiteral("/slike/ozadje.bmp"));
    }

    void generalValuesOnConfirm()
    {
        World world;
        GeneralPage *page = world.settings->General;
        page->CheckBox1->setChecked(true);
        QVERIFY(page->SpinEdit1->isEnabled());
        page->SpinEdit1->setValue(45);
        page->CheckBox2->setChecked(false);
        page->CheckBox3->setChecked(false);
        page->SpinEdit2->setValue(0);
        page->Designer->dropOnCell(5, 0);
        QCOMPARE(GetAutoHideSeconds(), 0);

        world.confirm();
        QStringList stored;
        for (const char *name : {"SkrijPo", "SkrijAuto", "AutoShift", "Trellan", "CheckNewVer"})
            stored.append(ReadRegString(nastavitve(), QString::fromLatin1(name)));
        QCOMPARE(stored, (QStringList{"45", "-1", "0", "0", "0"}));
        QVERIFY(!AutoShiftNames);
        QCOMPARE(GetAutoHideSeconds(), 45);
        QCOMPARE(PanelDesign::ReadPanelLayout(), page->Designer->designText());
    }

    void languageIsWrittenWhenChosen()
    {
        World world;
        GeneralPage *page = world.settings->General;
        auto seen = ModalAnswer::press(QStringLiteral("V redu"));
        page->chooseLanguage(1);
        QTRY_VERIFY(seen->shown);
        QCOMPARE(seen->text, QStringLiteral("Za spremembo jezika bo potrebno program ponovno zagnati!"));
        QCOMPARE(seen->buttons, QStringList{"V redu"});
        QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("LangID")), QStringLiteral("1033"));

        // The same choice again says nothing; cancelling keeps the new language.
        seen = ModalAnswer::press(QStringLiteral("V redu"), 300);
        page->chooseLanguage(1);
        QTest::qWait(400);
        QVERIFY(!seen->shown);
        world.cancel();
        QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("LangID")), QStringLiteral("1033"));
    }

    void cancelStoresNothingButKeepsTheChanges()
    {
        World world;
        world.settings->General->SpinEdit2->setValue(99);
        world.settings->Theme->FilenameEdit2->setEditText(QStringLiteral("/"));
        world.cancel();
        QVERIFY(!world.settings->isVisible());
        QVERIFY(ReadRegString(nastavitve(), QStringLiteral("CheckNewVer")).isEmpty());
        QVERIFY(ReadRegString(nastavitve(), QStringLiteral("BackgroundImage")).isEmpty());
        QVERIFY(!world.main->backgroundPicture().isEmpty());

        world.settings->show();
        QCOMPARE(world.settings->General->SpinEdit2->value(), 99);
        world.confirm();
        QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("CheckNewVer")), QStringLiteral("99"));
        QVERIFY(world.main->backgroundPicture().isEmpty());
    }

    // What a user set is there after a restart: shortcuts (also of a menu that a new
    // program group moved), the program in its menu, the colours, the background.
    void foundAfterARestart()
    {
        const QString tool = makeFile(QStringLiteral("ed"));
        const QString picture = m_installation->root() + QStringLiteral("ozadje.bmp");
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::green);
        QVERIFY(image.save(picture, "BMP"));
        {
            World world;
            ModalAnswer::chooseFile(tool);
            world.settings->Programs->Dodaj->click();
            QTRY_COMPARE(world.settings->Programs->TreeView2->topLevelItemCount(), 1);
            world.settings->Programs->ComboBox1->setEditText(QStringLiteral("Orodja"));
            const ShortcutsPage *page = world.settings->Shortcuts;
            page->TreeView1->setCurrentItem(node(page->TreeView1, QStringLiteral("Pomoc/Vizitka")));
            page->HotKey1->setFocus();
            QTest::keyClick(page->HotKey1, Qt::Key_F1);
            world.settings->Theme->chooseScheme(ThemePage::Standard);
            world.settings->Theme->FilenameEdit2->setEditText(picture);
            world.confirm();
        }
        m_installation->restart();
        LoadColours(barve());
        World world;
        QCOMPARE(menuItems(world.menu(), QStringLiteral("Orodja")), QStringList{"ed"});
        QCOMPARE(menuItem(world.menu(), QStringLiteral("Pomoc"), QStringLiteral("Vizitka"))->shortcut(),
                 QKeySequence(Qt::Key_F1));
        QCOMPARE(menuItem(world.menu(), QStringLiteral("Šifranti"), QStringLiteral("Kraji"))->shortcut(),
                 QKeySequence(Qt::Key_F5));
        QCOMPARE(ColourScheme.CT_WBack, ColourFromRef(SystemColourRef(15)));
        QCOMPARE(world.main->backgroundPicture(), picture);
        ColourScheme = TColourScheme::defaults();
    }
};

QTEST_MAIN(tst_Nastavitve)
#include "tst_Nastavitve.moc"
