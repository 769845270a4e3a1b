#include "ColourScheme.h"
#include "Settings.h"
#include "TestInstallation.h"
#include "UFMain.h"
#include "UrlReceiver.h"
#include "WebPanel.h"
#include "WebView.h"

#include <QApplication>
#include <QBuffer>
#include <QDesktopServices>
#include <QImage>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSplitter>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <memory>

#ifdef VELDRA_WEB_ENGINE
#include <QWebEngineView>
#endif

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

// Serves one page over HTTP on loopback, whatever is asked for, and records the
// request targets. A held page sends its first half and waits for release().
class PageServer : public QObject
{
    Q_OBJECT
public:
    PageServer()
    {
        QVERIFY(m_server.listen(QHostAddress::LocalHost));
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { answer(socket); });
        });
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    QByteArray page;
    // Other files by path, served as pictures.
    QHash<QString, QByteArray> pictures;
    bool hold = false;
    QStringList targets;

    void release()
    {
        m_released = true;
        for (QTcpSocket *socket : std::exchange(m_held, {}))
            finish(socket);
    }

private:
    void answer(QTcpSocket *socket)
    {
        QByteArray &request = m_requests[socket];
        request += socket->readAll();
        if (!request.contains("\r\n\r\n"))
            return;
        const QString target = QString::fromLatin1(request.split(' ').value(1));
        targets << target;
        m_requests.remove(socket);
        if (pictures.contains(target)) {
            const QByteArray &picture = pictures[target];
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " + QByteArray::number(picture.size())
                          + "\r\nConnection: close\r\n\r\n" + picture);
            socket->disconnectFromHost();
            return;
        }
        const QByteArray head = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: "
                                + QByteArray::number(page.size()) + "\r\nConnection: close\r\n\r\n";
        if (hold) {
            // Progress is reported at most every tenth of a second: the half comes later.
            socket->write(head);
            m_released = false;
            m_rest = page.mid(page.size() / 2);
            QTimer::singleShot(300, socket, [this, socket, half = page.left(page.size() / 2)] {
                socket->write(half);
                if (m_released)
                    finish(socket);
                else
                    m_held << socket;
            });
            return;
        }
        socket->write(head + page);
        socket->disconnectFromHost();
    }

    void finish(QTcpSocket *socket)
    {
        socket->write(m_rest);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    bool m_released = false;
    QHash<QTcpSocket *, QByteArray> m_requests;
    QList<QTcpSocket *> m_held;
    QByteArray m_rest;
};

QByteArray pageWithWidth(const QByteArray &marker)
{
    return "<html><head>" + marker + "</head><body><p>Novice</p></body></html>";
}

// A main window as the program has it, with the panel filled and a person window of a
// known width, shown at a known size.
class PanelWorld
{
public:
    static constexpr int PersonWidth = 500;
    static constexpr int MinimumPersonWidth = 300;

    explicit PanelWorld(const QString &host, const QByteArray &page = pageWithWidth("<meta pagewidth=\"200\">"))
    {
        server.page = page;
        installation.writeIni({{QString::fromLatin1(IniWebHost), host}});
        MainWindowServices services;
        services.fillWebPanel = [this](QWidget *area, bool firstTime) {
            FillWebPanel(area, firstTime, [this] { return persons; });
        };
        window = std::make_unique<TFMain>(services);
        auto *person = new QWidget;
        person->setObjectName(QStringLiteral("FVeldra"));
        person->setMinimumWidth(MinimumPersonWidth);
        personFrame = window->addChildWindow(person);
        personFrame->resize(PersonWidth, 300);
        window->resize(1000, 600);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    QWidget *area() const { return window->findChild<QWidget *>(QStringLiteral("WebPanel")); }
    QWidget *frame() const { return window->findChild<QWidget *>(QStringLiteral("PanelWeb")); }
    QSplitter *splitter() const { return window->findChild<QSplitter *>(QStringLiteral("Splitter1")); }
    QProgressBar *progress() const { return window->findChild<QProgressBar *>(QStringLiteral("ProgressBar1")); }
    WebView *view() const { return area()->findChild<WebView *>(); }
    // The light view's own browser; none under the engine.
    QTextBrowser *lightBrowser() const { return area()->findChild<QTextBrowser *>(); }
    WebPanel *panel() const { return area()->findChild<WebPanel *>(); }
    int panelWidth() const { return splitter()->sizes().at(1); }
    int room() const { return splitter()->width() - PersonWidth - splitter()->handleWidth(); }

    // Waits until the page asked for last has come and been measured.
    bool waitForPage()
    {
        QSignalSpy measured(panel(), &WebPanel::pageMeasured);
        return view()->isLoading() ? measured.wait(10000) : true;
    }

    TestInstallation installation;
    PageServer server;
    std::optional<int> persons = 42;
    std::unique_ptr<TFMain> window;
    QMdiSubWindow *personFrame = nullptr;
};

}

class TestWebPanel : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { ColourScheme = TColourScheme::defaults(); }

    void address_data();
    void address();
    void minutesAreTruncated_data();
    void minutesAreTruncated();
    void noHostAsksNothing();
    void pageSetsTheWidth_data();
    void pageSetsTheWidth();
    void maximisedPersonWindowLeavesRoom();
    void unreachableServerShutsThePanel();
    void navigateOrReload();
    void countIsStoredAfterTheAddress();
    void progressBar();
    void progressBarWhileLoading();
    void picturesComeFromTheServerOnly();
    void linksOpenInTheUsersBrowser();
};

void TestWebPanel::address_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("expectedStart");

    QTest::newRow("host") << "info.example.org" << "http://info.example.org\\veldra\\html\\index.php?";
    QTest::newRow("host and port, scheme and slash written") << " http://127.0.0.1:8080/ "
                                                             << "http://127.0.0.1:8080\\veldra\\html\\index.php?";
    QTest::newRow("none") << "" << "";
    QTest::newRow("path in the setting") << "evil.example.org/x?a=" << "";
    QTest::newRow("user in the setting") << "me@info.example.org" << "";
}

void TestWebPanel::address()
{
    QFETCH(QString, host);
    QFETCH(QString, expectedStart);
    TestInstallation installation;
    installation.writeIni({{QString::fromLatin1(IniWebHost), host}});
    ColourScheme.CT_WBack = QColor(198, 227, 255);
    WriteRegString(nastavitve(), QStringLiteral("stato"), QStringLiteral("12"));
    WriteRegDouble(nastavitve(), QStringLiteral("statoh"), 1.0 / 24);
    WriteRegDouble(nastavitve(), QStringLiteral("statoha"), 0.5 / 24);

    const QString address = BuildPanelAddress();
    if (expectedStart.isEmpty()) {
        QCOMPARE(address, QString());
        return;
    }
    QCOMPARE(address,
             expectedStart + "pid=veldra&ver=2.310&bcolor=C6E3FF&lang=si&stato=12&statoh=60&statoha=30&statr=0");
}

void TestWebPanel::minutesAreTruncated_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("minutes");

    QTest::newRow("one day") << "1" << "1440";
    QTest::newRow("a minute and a half") << "0.00104166666666667" << "1";
    QTest::newRow("seven minutes, as written") << QLocale().toString(7.0 / 1440, 'g', 15) << "7";
    QTest::newRow("just under a minute") << "0.000694" << "0";
    QTest::newRow("not a number") << "abc" << "0";
    QTest::newRow("negative") << "-1" << "0";
}

void TestWebPanel::minutesAreTruncated()
{
    QFETCH(QString, stored);
    QFETCH(QString, minutes);
    TestInstallation installation;
    installation.writeIni({{QString::fromLatin1(IniWebHost), QStringLiteral("info.example.org")}});
    WriteRegString(nastavitve(), QStringLiteral("statoh"), stored);
    WriteRegString(nastavitve(), QStringLiteral("statoha"), stored);
    WriteRegString(nastavitve(), QStringLiteral("statr"), QStringLiteral("many"));

    const QString address = BuildPanelAddress();
    QVERIFY2(address.endsWith("&statoh=" + minutes + "&statoha=" + minutes + "&statr=0"), qPrintable(address));
}

void TestWebPanel::noHostAsksNothing()
{
    PanelWorld world{QString()};
    QTest::qWait(300);
    QVERIFY(world.server.targets.isEmpty());
    QVERIFY(!world.view());
    QCOMPARE(world.panelWidth(), 1);
    QVERIFY(world.splitter()->isCollapsible(1));

    world.panel()->RefreshWebPanel(true);
    QTest::qWait(100);
    QVERIFY(world.server.targets.isEmpty());
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), QStringLiteral("42"));
}

void TestWebPanel::pageSetsTheWidth_data()
{
    QTest::addColumn<QByteArray>("marker");
    QTest::addColumn<int>("width");       // -1: the room beside the person window
    QTest::addColumn<bool>("fixed");

    QTest::newRow("200") << QByteArray("<meta pagewidth=\"200\">") << 200 << false;
    QTest::newRow("minus 200: fixed") << QByteArray("<META PAGEWIDTH=\"-200\">") << 200 << true;
    QTest::newRow("wider than the room: cut") << QByteArray("<meta pagewidth=\"5000\">") << -1 << false;
    QTest::newRow("fixed and wider than the room: cut") << QByteArray("<meta pagewidth=\"-5000\">") << -1 << true;
    QTest::newRow("no marker: shut") << QByteArray("<meta name=\"x\">") << 1 << false;
    QTest::newRow("zero: shut") << QByteArray("<meta pagewidth=\"0\">") << 1 << false;
    QTest::newRow("not a number: shut") << QByteArray("<meta pagewidth=\"wide\">") << 1 << false;
    QTest::newRow("no closing quote: shut") << QByteArray("<meta pagewidth=\"200>") << 1 << false;
}

void TestWebPanel::pageSetsTheWidth()
{
    QFETCH(QByteArray, marker);
    QFETCH(int, width);
    QFETCH(bool, fixed);
    PanelWorld world(QString(), pageWithWidth(marker));
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());
    QVERIFY(world.room() > 200 && world.room() < 5000);

    const int expected = width < 0 ? world.room() : width;
    QCOMPARE(world.panelWidth(), expected);
    QCOMPARE(world.frame()->minimumWidth(), fixed ? expected : 1);
    QCOMPARE(world.splitter()->isCollapsible(1), !fixed);
    QCOMPARE(world.server.targets.size(), 1);
}

// A maximised person window fills whatever room there is; the page may still take what
// the window can spare.
void TestWebPanel::maximisedPersonWindowLeavesRoom()
{
    PanelWorld world(QString(), pageWithWidth("<meta pagewidth=\"-5000\">"));
    world.personFrame->showMaximized();
    QTRY_VERIFY(world.personFrame->width() > PanelWorld::PersonWidth);
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());

    const int spare = world.splitter()->width() - world.personFrame->minimumSizeHint().width() - world.splitter()->handleWidth();
    QVERIFY(spare > 200);
    QCOMPARE(world.panelWidth(), spare);
}

void TestWebPanel::unreachableServerShutsThePanel()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();
    PanelWorld world(QStringLiteral("127.0.0.1:%1").arg(port));
    QVERIFY(world.waitForPage());
    QCOMPARE(world.panelWidth(), 1);
    if (const auto *browser = world.lightBrowser())
        QVERIFY2(browser->toPlainText().contains(QStringLiteral("ni mogoče naložiti")), qPrintable(browser->toPlainText()));
}

// The same address is loaded again; a changed one is navigated to; nothing is asked
// again while a page is still coming.
void TestWebPanel::navigateOrReload()
{
    PanelWorld world{QString()};
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    WriteRegString(nastavitve(), QStringLiteral("stato"), QStringLiteral("3"));
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());
    QCOMPARE(world.panelWidth(), 200);
    const QString address = world.view()->address();
    QVERIFY(address.contains(QStringLiteral("&stato=3&")));
    QCOMPARE(world.server.targets.size(), 1);
    QVERIFY2(world.server.targets[0].startsWith(QStringLiteral("/veldra/html/index.php?pid=veldra&ver=2.310&")),
             qPrintable(world.server.targets[0]));

    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.view()->isLoading());
    QVERIFY(world.waitForPage());
    QCOMPARE(world.server.targets.size(), 2);
    QCOMPARE(world.server.targets[1], world.server.targets[0]);

    WriteRegString(nastavitve(), QStringLiteral("stato"), QStringLiteral("4"));
    world.server.hold = true;
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.view()->address().contains(QStringLiteral("&stato=4&")));
    QTRY_COMPARE(world.server.targets.size(), 3);
    QVERIFY(world.server.targets[2].contains(QStringLiteral("&stato=4&")));

    world.panel()->RefreshWebPanel(false);
    QTest::qWait(200);
    QCOMPARE(world.server.targets.size(), 3);
    world.server.release();
    QVERIFY(world.waitForPage());
}

// The server hears the count stored at the refresh before, the one the last run closed with first.
void TestWebPanel::countIsStoredAfterTheAddress()
{
    PanelWorld world{QString()};
    WriteRegString(nastavitve(), QStringLiteral("statr"), QStringLiteral("7"));
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(true);
    QVERIFY(world.waitForPage());
    QVERIFY(world.server.targets.last().endsWith(QStringLiteral("&statr=7")));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), QStringLiteral("42"));

    world.persons = std::nullopt;
    world.panel()->RefreshWebPanel(true);
    QVERIFY(world.waitForPage());
    QVERIFY(world.server.targets.last().endsWith(QStringLiteral("&statr=42")));
    QCOMPARE(ReadRegString(nastavitve(), QStringLiteral("statr")), QStringLiteral("42"));
}

void TestWebPanel::progressBar()
{
    PanelWorld world{QString()};
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());
    QProgressBar *bar = world.progress();
    QVERIFY(bar->isHidden());

    Q_EMIT world.view()->progressChanged(30, 100);
    QVERIFY(bar->isVisible());
    QCOMPARE(bar->maximum(), 100);
    QCOMPARE(bar->value(), 30);

    Q_EMIT world.view()->progressChanged(150, 120);
    QCOMPARE(bar->maximum(), 120);
    QCOMPARE(bar->value(), 120);

    Q_EMIT world.view()->progressChanged(0, 120);
    QVERIFY(bar->isHidden());
    Q_EMIT world.view()->progressChanged(-1, 120);
    QVERIFY(bar->isHidden());

    Q_EMIT world.view()->progressChanged(50, 100);
    Q_EMIT world.view()->documentComplete();
    QVERIFY(bar->isHidden());
    QCOMPARE(bar->value(), 0);
}

void TestWebPanel::progressBarWhileLoading()
{
    PanelWorld world(QString(), pageWithWidth("<meta pagewidth=\"200\">") + QByteArray(20000, ' '));
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.server.hold = true;
    world.panel()->RefreshWebPanel(false);
    QProgressBar *bar = world.progress();
    QTRY_VERIFY(bar->isVisible());
    // The light view counts bytes, the engine per cent.
    QCOMPARE(bar->maximum(), world.lightBrowser() ? int(world.server.page.size()) : 100);
    QVERIFY(bar->value() > 0 && bar->value() < bar->maximum());

    world.server.release();
    QVERIFY(world.waitForPage());
    QVERIFY(bar->isHidden());
    QCOMPARE(world.panelWidth(), 200);
}

// A page from the network must not show (or measure) the user's own files.
void TestWebPanel::picturesComeFromTheServerOnly()
{
    QTemporaryDir local;
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString localFile = local.filePath(QStringLiteral("local.png"));
    QVERIFY(red.save(localFile));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");

    PanelWorld world{QString()};
    world.server.page = pageWithWidth("<meta pagewidth=\"200\">") + "<img src=\"/logo.png\"><img src=\""
                        + QUrl::fromLocalFile(localFile).toEncoded() + "\">";
    world.server.pictures[QStringLiteral("/logo.png")] = png;
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());
    if (!world.lightBrowser())
        QSKIP("The engine keeps pages from local files itself.");
    QTextDocument *document = world.lightBrowser()->document();
    const auto picture = [document](const QUrl &url) {
        return qvariant_cast<QImage>(document->resource(QTextDocument::ImageResource, url));
    };
    QTRY_COMPARE(picture(QUrl(QStringLiteral("/logo.png"))).size(), QSize(8, 6));
    QVERIFY(picture(QUrl::fromLocalFile(localFile)).isNull());
    QCOMPARE(world.server.targets.filter(QStringLiteral("logo.png")).size(), 1);
}

// Only web addresses leave the panel; what a page links to otherwise is not started.
void TestWebPanel::linksOpenInTheUsersBrowser()
{
    UrlReceiver receiver;
    for (const char *scheme : {"http", "https", "file", "mailto"})
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &receiver, "open");
    const auto unset = qScopeGuard([] {
        for (const char *scheme : {"http", "https", "file", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    });
    const QStringList links{QStringLiteral("/novice.php?id=3"), QStringLiteral("file:///etc/passwd"),
                            QStringLiteral("https://example.org/")};
    QByteArray anchors;
    for (const QString &link : links)
        anchors += "<p><a href=\"" + link.toUtf8() + "\">" + link.toUtf8() + "</a></p>";
    PanelWorld world(QString(), pageWithWidth("<meta pagewidth=\"200\">") + anchors);
    world.installation.writeIni({{QString::fromLatin1(IniWebHost), world.server.host()}});
    world.panel()->RefreshWebPanel(false);
    QVERIFY(world.waitForPage());
    if (QTextBrowser *browser = world.lightBrowser()) {
        for (const QString &link : links)
            Q_EMIT browser->anchorClicked(QUrl(link));
    } else {
#ifdef VELDRA_WEB_ENGINE
        auto *engine = world.area()->findChild<QWebEngineView *>();
        QVERIFY(engine);
        engine->page()->runJavaScript(QStringLiteral("for (const a of document.links) a.click();"));
        QTRY_COMPARE(receiver.urls.size(), 2);
        QTest::qWait(300);
#endif
    }
    QCOMPARE(receiver.urls, (QList<QUrl>{QUrl(QStringLiteral("http://%1/novice.php?id=3").arg(world.server.host())),
                                         QUrl(QStringLiteral("https://example.org/"))}));
    QCOMPARE(world.server.targets.size(), 1);
}

int main(int argc, char *argv[])
{
    PrepareWebViews();
    QApplication app(argc, argv);
    TestWebPanel test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WebPanel.moc"
