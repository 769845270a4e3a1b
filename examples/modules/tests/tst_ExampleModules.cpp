// The example modules loaded the way the program loads them: through their C exports,
// from copies in a folder of the test's own, where their INI and log lie too.
#include <veldra/module.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLibrary>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const auto Connection = QStringLiteral("example-modules-test");

struct Module
{
    std::unique_ptr<QLibrary> library;
    QString path;

    QString text(const char *exportName) const
    {
        const auto function = reinterpret_cast<VeldraTextFunction>(library->resolve(exportName));
        return function ? QString::fromUtf8(function()) : QStringLiteral("<missing>");
    }
    // The reply, "<null>" for a null pointer.
    QString execute(const QString &command, void *owner = nullptr, void *parent = nullptr) const
    {
        const auto function = reinterpret_cast<VeldraExecuteAdvancedFunction>(library->resolve("ExecuteAdvanced"));
        const char *reply = function(qApp, nullptr, owner, parent, command.toUtf8().constData());
        return reply ? QString::fromUtf8(reply) : QStringLiteral("<null>");
    }
    QWidget *child() const
    {
        void *window = nullptr;
        const auto function = reinterpret_cast<VeldraGetChildFunction>(library->resolve("GetChild"));
        return function(&window) ? static_cast<QWidget *>(window) : nullptr;
    }
    void refresh(const QString &command) const
    {
        reinterpret_cast<VeldraRefreshChildFunction>(library->resolve("RefreshChild"))(command.toUtf8().constData());
    }
    QString sibling(const QString &suffix) const
    {
        const QFileInfo file(path);
        return file.absoluteDir().filePath(file.completeBaseName() + suffix);
    }
    void setIni(const QByteArray &contents) const
    {
        QFile ini(sibling(QStringLiteral(".ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(contents);
    }
    QStringList log() const
    {
        QFile file(sibling(QStringLiteral(".log")));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};

QVariant single(const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(Connection));
    if (!query.exec(sql) || !query.next())
        return QVariant();
    return query.value(0);
}

} // namespace

class tst_ExampleModules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void informationTexts_data();
    void informationTexts();
    void configuredRepliesAndLog();
    void badCommands_data();
    void badCommands();
    void linkRecordsAndSearchRows();
    void childWindow();

private:
    Module load(const char *builtFile);

    QTemporaryDir m_folder;
    Module m_link;
    Module m_menu;
};

Module tst_ExampleModules::load(const char *builtFile)
{
    const QFileInfo built(QString::fromUtf8(builtFile));
    const QString copy = m_folder.filePath(built.fileName());
    QFile::copy(built.absoluteFilePath(), copy);
    Module module{std::make_unique<QLibrary>(copy), copy};
    if (!module.library->load())
        qFatal("%s", qPrintable(module.library->errorString()));
    return module;
}

void tst_ExampleModules::initTestCase()
{
    QVERIFY(m_folder.isValid());
    m_link = load(VELDRA_LINK_MODULE);
    m_menu = load(VELDRA_MENU_MODULE);
    // The program's side of the database: just the columns the link module touches.
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Connection);
    db.setDatabaseName(m_folder.filePath(QStringLiteral("Veldra_be.mdb")));
    QVERIFY(db.open());
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE TOsnovniPod (ID INTEGER PRIMARY KEY, CelotnoIme TEXT)")));
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE TSharingProgsQuery (ID INTEGER PRIMARY KEY AUTOINCREMENT, "
                                      "ProgID TEXT, ProgIDQueryCom TEXT, InProgIDOsebe INTEGER, IDOsebe INTEGER, "
                                      "SearchKWS TEXT)")));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO TOsnovniPod VALUES (5, 'Novak Janez'), (6, 'Kos Ana')")));
    qApp->setProperty("veldraDatabaseConnection", Connection);
}

void tst_ExampleModules::init()
{
    for (const Module *module : {&m_link, &m_menu}) {
        QFile::remove(module->sibling(QStringLiteral(".ini")));
        QFile::remove(module->sibling(QStringLiteral(".log")));
    }
}

void tst_ExampleModules::informationTexts_data()
{
    QTest::addColumn<bool>("link");
    QTest::addColumn<QByteArray>("exportName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("link name") << true << QByteArray("GetName") << "VELDRAPOVEZAVA_PRIMER";
    QTest::newRow("link other data") << true << QByteArray("GetOtherData")
                                     << "PR;Primer povezave;2/Naziv,1,NAZIV/Opomba,2,OPOMBA";
    QTest::newRow("link menu") << true << QByteArray("GetMainMeni") << "Šifranti";
    QTest::newRow("link item without sub-items") << true << QByteArray("GetSubMeni") << "Primer povezave";
    QTest::newRow("menu name") << false << QByteArray("GetName") << "VELDRA_PRIMER_MENI";
    QTest::newRow("menu menu") << false << QByteArray("GetMainMeni") << "Orodja";
    QTest::newRow("menu sub-items")
        << false << QByteArray("GetSubMeni")
        << "Primer menija/Pozdrav,Pozdrav iz modula,1;Brez slike,Postavka brez slike,-1";
    QTest::newRow("menu version") << false << QByteArray("GetVersion") << "1.0";
    QTest::newRow("menu has no other data") << false << QByteArray("GetOtherData") << "<missing>";
    QTest::newRow("menu has no child window") << false << QByteArray("GetChild") << "<missing>";
}

void tst_ExampleModules::informationTexts()
{
    QFETCH(bool, link);
    QFETCH(QByteArray, exportName);
    QFETCH(QString, expected);
    const Module &module = link ? m_link : m_menu;
    if (exportName == "GetChild")
        QCOMPARE(module.library->resolve("GetChild") ? QStringLiteral("present") : QStringLiteral("<missing>"),
                 expected);
    else
        QCOMPARE(module.text(exportName.constData()), expected);
}

void tst_ExampleModules::configuredRepliesAndLog()
{
    QCOMPARE(m_menu.execute(QStringLiteral("FROMMENI;Pozdrav;12")), QStringLiteral("OK"));
    QCOMPARE(m_menu.execute(QStringLiteral("FROMMENI;Primer menija;")), QStringLiteral("OK"));

    // Read anew at every command: a test turns the reply between two calls.
    m_menu.setIni("[Odgovori]\nFROMMENI=Račun je že plačan, žal\n[Podatki]\nVersion=2.0\n");
    QCOMPARE(m_menu.execute(QStringLiteral("FROMMENI;Pozdrav;12")), QStringLiteral("Račun je že plačan, žal"));
    QCOMPARE(m_menu.text("GetVersion"), QStringLiteral("2.0"));
    m_menu.setIni("[odgovori]\nfrommeni=<null>\n");
    QCOMPARE(m_menu.execute(QStringLiteral("FROMMENI;Pozdrav;")), QStringLiteral("<null>"));
    QCOMPARE(m_menu.text("GetVersion"), QStringLiteral("1.0"));

    // A configured reply stands in for the work: APPEND needs no database then.
    m_link.setIni("[Odgovori]\nAPPEND=17\n[Dnevnik]\nObjekti=1\n");
    QWidget owner;
    owner.setObjectName(QStringLiteral("FVeldra"));
    QWidget panel;
    panel.setObjectName(QStringLiteral("Panel28"));
    QCOMPARE(m_link.execute(QStringLiteral("APPEND;5"), &owner, &panel), QStringLiteral("17"));
    m_link.refresh(QStringLiteral("REFRESH;5;17"));

    QCOMPARE(m_menu.log(), (QStringList{QStringLiteral("FROMMENI;Pozdrav;12"), QStringLiteral("FROMMENI;Primer menija;"),
                                        QStringLiteral("FROMMENI;Pozdrav;12"), QStringLiteral("FROMMENI;Pozdrav;")}));
    QCOMPARE(m_link.log(), (QStringList{QStringLiteral("APPEND;5\tFVeldra\tPanel28"), QStringLiteral("REFRESH;5;17")}));
}

void tst_ExampleModules::badCommands_data()
{
    QTest::addColumn<bool>("link");
    QTest::addColumn<QString>("command");
    QTest::newRow("no person") << true << "APPEND";
    QTest::newRow("empty person") << true << "APPEND;";
    QTest::newRow("person not a number") << true << "APPEND;abc";
    QTest::newRow("unknown person") << true << "APPEND;99";
    QTest::newRow("no record") << true << "DELETE;5";
    // Read as 0, a record that never exists, this would be "OK".
    QTest::newRow("record to delete not a number") << true << "DELETE;5;x";
    QTest::newRow("record not a number") << true << "UPDATE;5;x";
    QTest::newRow("no search") << true << "FILLSEARCHQUERY";
    QTest::newRow("unknown search") << true << "FILLSEARCHQUERY;TELEFON";
    QTest::newRow("unknown command") << true << "PRINT;5";
    QTest::newRow("empty command") << true << "";
    QTest::newRow("menu: other command") << false << "APPEND;5";
    QTest::newRow("menu: no fields") << false << "FROMMENI";
}

void tst_ExampleModules::badCommands()
{
    QFETCH(bool, link);
    QFETCH(QString, command);
    const QString reply = (link ? m_link : m_menu).execute(command);
    // A refusal the program can show: a text, not "OK" and not a record number.
    QVERIFY2(!reply.isEmpty() && reply != QStringLiteral("OK") && reply != QStringLiteral("<null>"), qPrintable(reply));
    bool number = false;
    reply.toInt(&number);
    QVERIFY2(!number, qPrintable(reply));
}

void tst_ExampleModules::linkRecordsAndSearchRows()
{
    const int first = m_link.execute(QStringLiteral("APPEND;5")).toInt();
    const int second = m_link.execute(QStringLiteral("APPEND;6")).toInt();
    QVERIFY(first >= 1);
    QVERIFY(second > first);
    QCOMPARE(single(QStringLiteral("SELECT Naziv FROM TPrimerPovezava WHERE ID = %1").arg(first)).toString(),
             QStringLiteral("Novak Janez"));

    QSqlQuery(QSqlDatabase::database(Connection))
        .exec(QStringLiteral("UPDATE TPrimerPovezava SET Opomba = 'stalna stranka' WHERE ID = %1").arg(second));
    // Twice, to see that the old rows are replaced, not added to.
    for (int round = 0; round < 2; ++round) {
        QCOMPARE(m_link.execute(QStringLiteral("FILLSEARCHQUERY;NAZIV")), QStringLiteral("OK"));
        QCOMPARE(m_link.execute(QStringLiteral("FILLSEARCHQUERY;OPOMBA")), QStringLiteral("OK"));
    }
    QSqlQuery rows(QSqlDatabase::database(Connection));
    QVERIFY(rows.exec(QStringLiteral("SELECT ProgID, ProgIDQueryCom, InProgIDOsebe, SearchKWS, IDOsebe IS NULL "
                                     "FROM TSharingProgsQuery ORDER BY ProgIDQueryCom, InProgIDOsebe")));
    QStringList found;
    while (rows.next())
        found << QStringLiteral("%1|%2|%3|%4|%5")
                     .arg(rows.value(0).toString(), rows.value(1).toString(), rows.value(2).toString(),
                          rows.value(3).toString(), rows.value(4).toString());
    QCOMPARE(found, (QStringList{QStringLiteral("PR|NAZIV|%1|Novak Janez|1").arg(first),
                                 QStringLiteral("PR|NAZIV|%1|Kos Ana|1").arg(second),
                                 QStringLiteral("PR|OPOMBA|%1|stalna stranka|1").arg(second)}));

    QSqlQuery(QSqlDatabase::database(Connection)).exec(QStringLiteral("UPDATE TOsnovniPod SET CelotnoIme = 'Novak Jan' WHERE ID = 5"));
    QCOMPARE(m_link.execute(QStringLiteral("UPDATE;5;%1").arg(first)), QStringLiteral("OK"));
    QCOMPARE(single(QStringLiteral("SELECT Naziv FROM TPrimerPovezava WHERE ID = %1").arg(first)).toString(),
             QStringLiteral("Novak Jan"));
    // Another person's record is neither renamed nor removed.
    QVERIFY(m_link.execute(QStringLiteral("UPDATE;6;%1").arg(first)) != QStringLiteral("OK"));
    QVERIFY(m_link.execute(QStringLiteral("DELETE;6;%1").arg(first)) != QStringLiteral("OK"));
    QCOMPARE(m_link.execute(QStringLiteral("DELETE;5;%1").arg(first)), QStringLiteral("OK"));
    QVERIFY(!single(QStringLiteral("SELECT ID FROM TPrimerPovezava WHERE ID = %1").arg(first)).isValid());
    // Gone already: the program may drop its link; an update must not confirm it though.
    QCOMPARE(m_link.execute(QStringLiteral("DELETE;5;%1").arg(first)), QStringLiteral("OK"));
    QVERIFY(m_link.execute(QStringLiteral("UPDATE;5;%1").arg(first)) != QStringLiteral("OK"));
}

void tst_ExampleModules::childWindow()
{
    QWidget panel;
    QVERIFY(!m_link.child());
    QCOMPARE(m_link.execute(QStringLiteral("CREATECHILD"), &panel, &panel), QStringLiteral("OK"));
    QPointer<QWidget> window = m_link.child();
    QVERIFY(window);
    QCOMPARE(window->parentWidget(), &panel);
    m_link.setIni("[Odgovori]\nGetChild=0\n");
    QVERIFY(!m_link.child());
    m_link.setIni("");

    const int record = m_link.execute(QStringLiteral("APPEND;6")).toInt();
    const auto number = window->findChild<QLabel *>(QStringLiteral("LabelStevilka"));
    const auto name = window->findChild<QLabel *>(QStringLiteral("LabelNaziv"));
    const auto note = window->findChild<QLineEdit *>(QStringLiteral("EditOpomba"));
    m_link.refresh(QStringLiteral("REFRESH;6;%1").arg(record));
    QCOMPARE(number->text(), QString::number(record));
    QCOMPARE(name->text(), QStringLiteral("Kos Ana"));
    QVERIFY(note->isReadOnly());
    QSqlQuery(QSqlDatabase::database(Connection)).exec(QStringLiteral("UPDATE TOsnovniPod SET CelotnoIme = 'Kos Anja' WHERE ID = 6"));
    QCOMPARE(m_link.execute(QStringLiteral("UPDATE;6;%1").arg(record)), QStringLiteral("OK"));
    QCOMPARE(name->text(), QStringLiteral("Kos Anja"));

    // The program refreshes right after EDIT; the record must stay open for editing.
    QCOMPARE(m_link.execute(QStringLiteral("EDIT;6;%1").arg(record)), QStringLiteral("OK"));
    m_link.refresh(QStringLiteral("REFRESH;6;%1").arg(record));
    QVERIFY(!note->isReadOnly());
    note->setText(QStringLiteral("nova opomba"));
    window->findChild<QPushButton *>(QStringLiteral("ButtonShrani"))->click();
    QCOMPARE(single(QStringLiteral("SELECT Opomba FROM TPrimerPovezava WHERE ID = %1").arg(record)).toString(),
             QStringLiteral("nova opomba"));
    QVERIFY(note->isReadOnly());

    m_link.refresh(QStringLiteral("REFRESH;5;0"));
    QCOMPARE(number->text(), QStringLiteral("-"));
    QVERIFY(name->text().isEmpty());

    // The program destroys the window it took over; the next CREATECHILD makes a new one.
    delete window;
    QVERIFY(!m_link.child());
    m_link.refresh(QStringLiteral("REFRESH;6;%1").arg(record));
    QCOMPARE(m_link.execute(QStringLiteral("CREATECHILD"), &panel, &panel), QStringLiteral("OK"));
    QVERIFY(m_link.child());
    QCOMPARE(m_link.child()->parentWidget(), &panel);

    // The program may unload the module before it destroys the window (at the end of the
    // run): the window's code must still be there when the panel goes.
    QVERIFY(m_link.library->unload());
}

QTEST_MAIN(tst_ExampleModules)
#include "tst_ExampleModules.moc"
