#include "Messagebox.h"
#include "ColourScheme.h"
#include "FlatButton.h"
#include "ModalAnswer.h"
#include "PublicFunctions.h"

#include <QLabel>
#include <QTest>

class TestMessageBox : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void kinds_data();
    void kinds();
    void closeBoxAnswersCancel();
    void enterAndEscapeDoNothing();
    void buttonsComeBackForTheNextKind();
    void looksAsDesigned();
    void styleButtonsColoursOnlyDirectButtons();
};

void TestMessageBox::kinds_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<QList<int>>("results");
    QTest::newRow("0 notice") << 0 << QStringList{"V redu"} << QList<int>{1};
    QTest::newRow("1") << 1 << QStringList{"Prekliči", "V redu"} << QList<int>{2, 1};
    QTest::newRow("2") << 2 << QStringList{"Prekini", "Preskoci", "Ponovno"} << QList<int>{3, 5, 4};
    QTest::newRow("3") << 3 << QStringList{"Prekliči", "Ne", "Da"} << QList<int>{2, 7, 6};
    QTest::newRow("4 question") << 4 << QStringList{"Ne", "Da"} << QList<int>{7, 6};
    QTest::newRow("5") << 5 << QStringList{"Ponovno", "V redu"} << QList<int>{4, 1};
    QTest::newRow("9 is a notice") << 9 << QStringList{"V redu"} << QList<int>{1};
}

void TestMessageBox::kinds()
{
    QFETCH(int, kind);
    QFETCH(QStringList, buttons);
    QFETCH(QList<int>, results);
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        auto seen = ModalAnswer::press(buttons[i]);
        QCOMPARE(ShowMessageBox(QStringLiteral("Sporočilo"), kind), results[i]);
        QCOMPARE(seen->buttons, buttons);
        QCOMPARE(seen->text, QStringLiteral("Sporočilo"));
        QCOMPARE(seen->title, QStringLiteral("Veldra"));
    }
}

void TestMessageBox::closeBoxAnswersCancel()
{
    ModalAnswer::press(QString());
    QCOMPARE(ShowMessageBox(QStringLiteral("Ali res?"), 4), 2);
}

void TestMessageBox::enterAndEscapeDoNothing()
{
    bool stillOpen = false;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        QTest::keyClick(dialog, Qt::Key_Escape);
        QTest::keyClick(dialog, Qt::Key_Return);
        QTest::keyClick(dialog, Qt::Key_Enter);
        stillOpen = dialog->isVisible();
        TFMessageBox::instance()->rightButton()->click();
    });
    QCOMPARE(ShowMessageBox(QStringLiteral("Ali res?"), 4), 6);
    QVERIFY(stillOpen);
}

void TestMessageBox::buttonsComeBackForTheNextKind()
{
    ModalAnswer::press(QStringLiteral("Preskoci"));
    QCOMPARE(ShowMessageBox(QStringLiteral("Prvo"), 2), 5);
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    QCOMPARE(ShowMessageBox(QStringLiteral("Drugo"), 0), 1);
    QCOMPARE(seen->buttons, QStringList{QStringLiteral("V redu")});
    seen = ModalAnswer::press(QStringLiteral("Da"));
    QCOMPARE(ShowMessageBox(QStringLiteral("Tretje"), 3), 6);
    QCOMPARE(seen->buttons, (QStringList{QStringLiteral("Prekliči"), QStringLiteral("Ne"), QStringLiteral("Da")}));
}

void TestMessageBox::looksAsDesigned()
{
    TFMessageBox *box = TFMessageBox::instance();
    QCOMPARE(box->size(), QSize(300, 91));
    for (FlatButton *button : {box->leftButton(), box->middleButton(), box->rightButton()}) {
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QCOMPARE(button->size(), QSize(73, 21));
        QVERIFY(button->font().bold());
    }
    const QLabel *text = box->findChild<QLabel *>();
    QVERIFY(text->wordWrap());
    QCOMPARE(text->alignment(), Qt::AlignCenter);
}

void TestMessageBox::styleButtonsColoursOnlyDirectButtons()
{
    QWidget window;
    auto *direct = new FlatButton(QStringLiteral("Dodaj"), &window);
    auto *panel = new QWidget(&window);
    auto *inPanel = new FlatButton(QStringLiteral("Izbriši"), panel);
    const FlatButton::Colours own{Qt::red, Qt::green, Qt::blue, Qt::black, Qt::yellow};
    direct->setColours(own);
    inPanel->setColours(own);
    ColourScheme.CT_BBack = QColor(1, 2, 3);
    StyleButtons(&window);
    QCOMPARE(direct->colours().face, QColor(1, 2, 3));
    QCOMPARE(direct->colours().border, ColourScheme.CT_BFont);
    QCOMPARE(inPanel->colours().face, QColor(Qt::red));
    ColourScheme = TColourScheme::defaults();
}

QTEST_MAIN(TestMessageBox)
#include "tst_MessageBox.moc"
