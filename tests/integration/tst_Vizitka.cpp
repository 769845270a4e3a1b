#include "TestInstallation.h"
#include "UFVizitka.h"
#include "UrlReceiver.h"

#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>

class TestVizitka : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void texts_data();
    void texts();
    void scrollsOnlyWhileShown();
    void scrollingStartsAgainAfterTheEnd();
    void centredOverMainWindow();
    void linkOpensMakersSite();
};

void TestVizitka::texts_data()
{
    QTest::addColumn<QByteArray>("lastVer"); // LastVer.ini; none: no such file
    QTest::addColumn<QString>("latest");
    QTest::addColumn<QString>("news"); // what follows the news line

    QTest::newRow("news of LastVer.ini")
        << QByteArray("[Program]\r\nZadnjaVerzija=2.311\r\n[Novosti]\r\nHitrejše iskanje.\r\n<b>Nov</b> izvoz & uvoz.\r\n"
                      "[END]\r\n[Obvestilo]\r\nPosodobite.\r\n[END]\r\n")
        << "2.311" << "Hitrejše iskanje.\n<b>Nov</b> izvoz & uvoz.\n";
    QTest::newRow("no LastVer.ini") << QByteArray() << "ERROR" << "";
}

void TestVizitka::texts()
{
    QFETCH(QByteArray, lastVer);
    QFETCH(QString, latest);
    QFETCH(QString, news);
    TestInstallation installation;
    if (!lastVer.isNull()) {
        QFile file(installation.dataFolder() + QStringLiteral("LastVer.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(lastVer);
    }
    TFVizitka window(latest);

    QCOMPARE(window.windowTitle(), QStringLiteral("Vizitka"));
    QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window.Edit1->text(), QStringLiteral("2.310 "));
    QCOMPARE(window.Edit1->toolTip(), QStringLiteral("Verzija programa"));

    const QString text = window.Label1->text();
    const QStringList lines = text.split(QLatin1Char('\n'));
    QVERIFY(lines.size() >= 5);
    QCOMPARE(lines[0], QStringLiteral("Program Veldra     ver.: 2.310"));
    QVERIFY2(lines[1].endsWith(QString::number(QDate::currentDate().year())), qPrintable(lines[1]));
    QVERIFY(!lines[2].isEmpty());
    QCOMPARE(lines[3], QString());
    QCOMPARE(lines[4], QStringLiteral("[Novosti v verziji %1]").arg(latest));
    QCOMPARE(text.mid(text.indexOf(lines[4]) + lines[4].size() + 1), news);
    // Markup in the shared file is shown as it stands.
    QCOMPARE(window.Label1->textFormat(), Qt::PlainText);
}

void TestVizitka::scrollsOnlyWhileShown()
{
    TestInstallation installation;
    TFVizitka window(QStringLiteral("2.311"));
    QVERIFY(!window.Timer1->isActive());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.Timer1->interval(), 50);
    // It starts with the text's top at the bottom edge, and moves up.
    QCOMPARE(window.Label1->y(), window.Panel2->height());
    QTRY_VERIFY_WITH_TIMEOUT(window.Label1->y() < window.Panel2->height() - 3, 2000);

    window.hide();
    QVERIFY(!window.Timer1->isActive());
    const int stopped = window.Label1->y();
    QTest::qWait(200);
    QCOMPARE(window.Label1->y(), stopped);

    // Shown again, it starts from the beginning.
    window.show();
    QVERIFY(window.Timer1->isActive());
    QCOMPARE(window.Label1->y(), window.Panel2->height());
}

void TestVizitka::scrollingStartsAgainAfterTheEnd()
{
    TestInstallation installation;
    TFVizitka window(QStringLiteral("2.311"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.Timer1->stop();
    const int start = window.Panel2->height();
    const int height = window.Label1->height();
    QVERIFY(height > 5 * window.Label1->fontMetrics().height() - 5);
    QCOMPARE(window.Label1->width(), window.Panel2->width());

    for (int step = 1; step < start + height; ++step)
        window.Timer1Timer();
    // The last line of the text is still in sight.
    QCOMPARE(window.Label1->y(), 1 - height);
    window.Timer1Timer();
    QCOMPARE(window.Label1->y(), start);
}

void TestVizitka::centredOverMainWindow()
{
    TestInstallation installation;
    QWidget main;
    main.setGeometry(200, 150, 900, 700);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    TFVizitka window(QStringLiteral("2.311"), &main);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint offset = window.frameGeometry().center() - main.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
}

void TestVizitka::linkOpensMakersSite()
{
    TestInstallation installation;
    UrlReceiver desktop;
    const QString scheme = QUrl(TFVizitka::makerAddress()).scheme();
    QDesktopServices::setUrlHandler(scheme, &desktop, "open");
    TFVizitka window(QStringLiteral("2.311"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.Label2->text(), TFVizitka::makerAddress());
    QCOMPARE(window.Label2->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(window.Label2, Qt::RightButton);
    QCOMPARE(desktop.urls, QList<QUrl>());
    QTest::mouseClick(window.Label2, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(scheme);
    QCOMPARE(desktop.urls, QList<QUrl>{QUrl(TFVizitka::makerAddress())});
}

QTEST_MAIN(TestVizitka)
#include "tst_Vizitka.moc"
