#include "CodeListAdd.h"
#include "CodeListWorld.h"
#include "ColourComboBox.h"
#include "ColourScheme.h"
#include "ContactKindComboBox.h"
#include "Dataset.h"
#include "DatabaseError.h"
#include "FlatButton.h"
#include "LookupComboBox.h"
#include "ModalAnswer.h"
#include "PictureLink.h"
#include "Settings.h"
#include "Typing.h"
#include "UFAlarm.h"
#include "UFAlarmi.h"
#include "UFDodajAlarm.h"
#include "UFDodajDrzavo.h"
#include "UFDrzave.h"
#include "UFKategorije.h"
#include "UFKontakti.h"
#include "UFKraji.h"
#include "UFPodjetje.h"
#include "UpDownButtons.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <QTest>

namespace {

template<typename Window> Window *open(CodeListWorld &world)
{
    auto *window = new Window;
    world.main->addChildWindow(window)->show();
    world.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->parentWidget()));
    return window;
}

QStringList column(QWidget *window, int column)
{
    auto *grid = window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QStringList values;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        values << grid->model()->index(row, column).data().toString();
    return values;
}

QString picturePath(const QString &folder, const QString &name)
{
    QDir().mkpath(folder);
    const QString path = folder + name;
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    // A kind Qt cannot write (GIF) gets a picture it can read under that name.
    const QByteArray kind = QFileInfo(name).suffix().toLower().toLatin1();
    picture.save(path, QImageWriter::supportedImageFormats().contains(kind) ? kind.constData() : "PNG");
    return path;
}

// Contact types given as "name=place ...", an empty place stored as null.
std::function<void(Database &)> contactTypes(const QString &types)
{
    return [types](Database &database) {
        database.run(QStringLiteral("DELETE FROM TKontakti"));
        for (const QString &type : types.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QStringList parts = type.split(QLatin1Char('='));
            database.run(QStringLiteral("INSERT INTO TKontakti (Naziv, Vrsta, Sort) VALUES (\"%1\", 0, %2)")
                             .arg(parts[0], parts[1].isEmpty() ? QStringLiteral("Null") : parts[1]));
        }
    };
}

// The contact types and their places as stored, by name, in the same form.
QString storedContactTypes(CodeListWorld &world)
{
    QSqlQuery query = world.dataMod->database().run(QStringLiteral("SELECT Naziv, Sort FROM TKontakti ORDER BY Naziv"));
    QStringList types;
    while (query.next())
        types << query.value(0).toString() + QLatin1Char('=') + (query.value(1).isNull() ? QString() : query.value(1).toString());
    return types.join(QLatin1Char(' '));
}

// The same as the grid shows them.
QString shownContactTypes(QWidget *window)
{
    const QStringList names = column(window, 0), places = column(window, 1);
    QStringList types;
    for (int row = 0; row < names.size(); ++row)
        types << names[row] + QLatin1Char('=') + places[row];
    return types.join(QLatin1Char(' '));
}

void chooseFromList(QComboBox *box, const QString &text)
{
    box->showPopup();
    QAbstractItemView *list = box->view();
    list->setCurrentIndex(box->model()->index(box->findText(text), 0));
    QTest::keyClick(list, Qt::Key_Return);
}

// An alarm type's colours and day count as stored, a null as "-".
QString storedAlarmLook(CodeListWorld &world, const QString &name)
{
    QSqlQuery query = world.dataMod->database().run(
        QStringLiteral("SELECT BackColor, FontColor, AlertNDaysBefore FROM TEventAlarms WHERE NazivAlarma = \"%1\"").arg(name));
    QStringList values;
    if (query.next())
        for (int i = 0; i < 3; ++i)
            values << (query.value(i).isNull() ? QStringLiteral("-") : query.value(i).toString());
    return values.join(QLatin1Char(' '));
}

// What the alarm pop-up showed, at a moment.
struct AlarmLook
{
    QColor area;
    QColor text;
    qint64 at;
};

AlarmLook lookOf(TFAlarm *alarm, const QElapsedTimer &clock)
{
    return {alarm->Panel1->palette().color(QPalette::Window), alarm->Label1->palette().color(QPalette::WindowText), clock.elapsed()};
}

}

class TestCodeListWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void countriesWindow();
    void sortingByATitle();
    void deleteRefusedAndAllowed();
    void emptyTableDeletesNothing();
    void addMovesToTheNewRow();
    void newCountryReachesAnOpenPlacesWindow();
    void pictureLinkCopiesKeepsAndRemoves();
    void pictureButtonsWithoutARow();
    void pictureShownOnlyWhenItCanBe();
    void pictureFolderThatCannotBeMade();
    void contactTypesWindow();
    void contactTypeMovesInOrder_data();
    void contactTypeMovesInOrder();
    void movedContactTypeStaysCurrentInOrderedGrid();
    void contactTypeMoveThatFailsHalfWayIsUndone();
    void contactTypePictureAndLowerPanel();
    void alarmTypesWindow();
    void addingAnAlarmType();
    void alarmTypeControlsFollowTheRow_data();
    void alarmTypeControlsFollowTheRow();
    void alarmTypeControlSavesAtOnce_data();
    void alarmTypeControlSavesAtOnce();
    void alarmWithoutRepetitionIsStored();
    void alarmTypeLowerPanel();
    void pictureNameLongerThanItsColumn_data();
    void pictureNameLongerThanItsColumn();
    void exampleAlarmFlashes();
    void exampleAlarmPicture_data();
    void exampleAlarmPicture();
    void nextAlarmStartsAfresh();
    void companyHeaderName();
    void missingCompanyRowIsMadeOnTyping();
};

void TestCodeListWindows::countriesWindow()
{
    CodeListWorld world;
    TFDrzave *window = open<TFDrzave>(world);
    QCOMPARE(window->windowTitle(), QStringLiteral("Države"));
    QCOMPARE(column(window, 0), (QStringList{"Avstrija", "Hrvaška", "Italija", "Madžarska", "Nemčija", "Slovenija"}));
    auto *abbreviation = window->findChild<QLineEdit *>(QStringLiteral("DBEdit2"));
    QCOMPARE(abbreviation->maxLength(), 3);
    abbreviation->setFocus();
    abbreviation->selectAll();
    typeText(abbreviation, QStringLiteral("aut"));
    typeText(abbreviation, QStringLiteral("x")); // a fourth character does not go in
    QCOMPARE(abbreviation->text(), QStringLiteral("AUT"));
    window->ADOQuery1->next(); // saved on moving on, and stamped
    QCOMPARE(world.stored(QStringLiteral("SELECT Skrajsano FROM TDrzave WHERE Naziv='Avstrija'")).toString(), QStringLiteral("AUT"));
    QVERIFY(world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TDrzave'")).isValid());
}

void TestCodeListWindows::sortingByATitle()
{
    CodeListWorld world;
    TFDrzave *window = open<TFDrzave>(world);
    auto *model = window->findChild<QTableView *>(QStringLiteral("DBGrid1"))->model();
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QVERIFY(model->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());

    window->DBGrid1TitleClick(1);
    QCOMPARE(column(window, 1), (QStringList{"AUT", "DEU", "HRV", "HUN", "ITA", "SLO"}));
    QCOMPARE(window->ADOQuery1->sqlLines().at(2), QStringLiteral("ORDER BY Skrajsano;"));
    QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(Qt::blue));
    QVERIFY(model->headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::ForegroundRole).value<QColor>(), QColor(Qt::black));
    QVERIFY(!model->headerData(0, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QCOMPARE(window->ADOQuery1->recNo(), 1);

    window->DBGrid1TitleClick(0);
    QCOMPARE(column(window, 0).first(), QStringLiteral("Avstrija"));
}

void TestCodeListWindows::deleteRefusedAndAllowed()
{
    CodeListWorld world;
    TFDrzave *window = open<TFDrzave>(world);
    window->ADOQuery1->locate(QStringLiteral("Naziv"), QStringLiteral("Slovenija"));
    auto question = ModalAnswer::press(QStringLiteral("Da"));
    std::shared_ptr<ModalAnswer::Seen> refusal;
    QTimer::singleShot(50, [&refusal] { refusal = ModalAnswer::press(QStringLiteral("V redu")); });
    window->findChild<FlatButton *>(QStringLiteral("SpeedButton1"))->click();
    QTRY_VERIFY(refusal && refusal->shown);
    QCOMPARE(refusal->text, QStringLiteral("Vnosa ni mogoče izbrisati, ker se navezuje na druge tabele!\r\nDržava je navedena pri krajih."));
    QCOMPARE(column(window, 0).size(), 6);

    window->ADOQuery1->locate(QStringLiteral("Naziv"), QStringLiteral("Italija"));
    ModalAnswer::press(QStringLiteral("Da"));
    window->findChild<FlatButton *>(QStringLiteral("SpeedButton1"))->click();
    QCOMPARE(column(window, 0), (QStringList{"Avstrija", "Hrvaška", "Madžarska", "Nemčija", "Slovenija"}));
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TDrzave")).toInt(), 5);
}

void TestCodeListWindows::emptyTableDeletesNothing()
{
    CodeListWorld world([](Database &database) { database.run(QStringLiteral("DELETE * FROM TKategorije")); });
    TFKategorije *window = open<TFKategorije>(world);
    auto question = ModalAnswer::press(QStringLiteral("Da"), 300);
    window->findChild<FlatButton *>(QStringLiteral("SpeedButton1"))->click();
    QTest::qWait(400); // until the answer gives up waiting
    QVERIFY(!question->shown);
}

void TestCodeListWindows::addMovesToTheNewRow()
{
    CodeListWorld world;
    TFKraji *window = open<TFKraji>(world);
    ModalAnswer::whenShown([](QWidget *shown) {
        auto *form = static_cast<CodeEntryDialog *>(shown);
        form->Edit1->setText(QStringLiteral("Ajdovščina"));
        form->Edit2->setText(QStringLiteral("5270"));
        form->DBLookupComboBox1->setCurrentKey(1);
        form->okButton()->click();
    });
    window->findChild<FlatButton *>(QStringLiteral("SpeedButton2"))->click();
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("Naziv")).toString(), QStringLiteral("Ajdovščina"));
    QCOMPARE(column(window, 0).first(), QStringLiteral("Ajdovščina"));
}

void TestCodeListWindows::newCountryReachesAnOpenPlacesWindow()
{
    CodeListWorld world;
    TFKraji *places = open<TFKraji>(world);
    QCOMPARE(places->DBLookupComboBox1->count(), 6);
    TFDrzave *countries = open<TFDrzave>(world);
    ModalAnswer::whenShown([](QWidget *shown) {
        static_cast<CodeEntryDialog *>(shown)->Edit1->setText(QStringLiteral("Srbija"));
        static_cast<EntryDialog *>(shown)->okButton()->click();
    });
    countries->findChild<FlatButton *>(QStringLiteral("SpeedButton2"))->click();
    QCOMPARE(places->DBLookupComboBox1->count(), 6);
    // Back in the places window: its country list follows.
    world.main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(places->parentWidget()));
    QCOMPARE(places->DBLookupComboBox1->count(), 7);
    QVERIFY(places->DBLookupComboBox1->findText(QStringLiteral("Srbija")) >= 0);

    // Entering the list reads it again as well, when the countries changed.
    DataMod->database().run(QStringLiteral("INSERT INTO TDrzave (Naziv, Skrajsano) VALUES (\"Islandija\", \"IS\")"));
    DataMod->MarkTableChanged(QStringLiteral("TDrzave"));
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(places->DBLookupComboBox1, &focusIn);
    QCOMPARE(places->DBLookupComboBox1->count(), 8);
}

void TestCodeListWindows::pictureLinkCopiesKeepsAndRemoves()
{
    CodeListWorld world;
    TFKategorije *window = open<TFKategorije>(world);
    const QString pictures = GetImageFolder() + QStringLiteral("Kategorije/");
    const QString elsewhere = picturePath(world.installation.root() + QStringLiteral("mojeslike/"), QStringLiteral("stranke.jpg"));

    ModalAnswer::chooseFile(elsewhere);
    window->picture()->load();
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("IkonaPath")).toString(), QStringLiteral("stranke.jpg"));
    QVERIFY(QFile::exists(pictures + QStringLiteral("stranke.jpg")));
    QVERIFY(QFile::exists(elsewhere));
    QVERIFY(!window->picture()->picture()->pixmap().isNull());
    QCOMPARE(window->picture()->picture()->toolTip(), QStringLiteral("stranke.jpg"));

    // A new picture under the same name, for another row, replaces the folder's copy.
    QImage larger(32, 32, QImage::Format_RGB32);
    larger.fill(Qt::blue);
    QVERIFY(larger.save(elsewhere));
    window->ADOQuery1->next();
    ModalAnswer::chooseFile(elsewhere);
    window->picture()->load();
    QCOMPARE(QFileInfo(pictures + QStringLiteral("stranke.jpg")).size(), QFileInfo(elsewhere).size());

    // A picture chosen from the folder itself is kept as it is: never copied onto itself.
    const qint64 size = QFileInfo(pictures + QStringLiteral("stranke.jpg")).size();
    window->ADOQuery1->next();
    ModalAnswer::chooseFile(pictures + QStringLiteral("stranke.jpg"));
    window->picture()->load();
    QCOMPARE(QFileInfo(pictures + QStringLiteral("stranke.jpg")).size(), size);
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("IkonaPath")).toString(), QStringLiteral("stranke.jpg"));

    auto question = ModalAnswer::press(QStringLiteral("Da"));
    window->picture()->remove();
    QCOMPARE(question->text, QStringLiteral("Ali resnično želite izbrisati povezavo na sliko?"));
    QVERIFY(window->ADOQuery1->value(QStringLiteral("IkonaPath")).isNull());
    QVERIFY(QFile::exists(pictures + QStringLiteral("stranke.jpg"))); // the file stays
    QVERIFY(world.stored(QStringLiteral("SELECT IkonaPath FROM TKategorije WHERE IDkat=%1")
                             .arg(window->ADOQuery1->value(QStringLiteral("IDkat")).toInt()))
                .isNull());
}

void TestCodeListWindows::pictureButtonsWithoutARow()
{
    CodeListWorld world([](Database &database) { database.run(QStringLiteral("DELETE FROM TKategorije")); });
    TFKategorije *window = open<TFKategorije>(world);
    for (const auto press : {&PictureLink::load, &PictureLink::remove}) {
        auto seen = ModalAnswer::press(QString(), 300);
        (window->picture()->*press)();
        QTest::qWait(400); // until the answer gives up waiting
        QVERIFY(!seen->shown);
    }
    QCOMPARE(world.stored(QStringLiteral("SELECT Count(*) FROM TKategorije")).toInt(), 0);
}

void TestCodeListWindows::pictureShownOnlyWhenItCanBe()
{
    CodeListWorld world([](Database &database) {
        database.run(QStringLiteral("UPDATE TKategorije SET IkonaPath = \"a.bmp\" WHERE Naziv = \"Dobavitelji\""));
        database.run(QStringLiteral("UPDATE TKategorije SET IkonaPath = \"b.gif\" WHERE Naziv = \"Družina\""));
        database.run(QStringLiteral("UPDATE TKategorije SET IkonaPath = \"gone.jpg\" WHERE Naziv = \"Poslovni partnerji\""));
    });
    const QString pictures = GetImageFolder() + QStringLiteral("Kategorije/");
    picturePath(pictures, QStringLiteral("a.bmp"));
    QVERIFY(!QPixmap(picturePath(pictures, QStringLiteral("b.gif"))).isNull()); // a picture, but not of a kind shown
    TFKategorije *window = open<TFKategorije>(world);
    QLabel *shown = window->picture()->picture();
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("Naziv")).toString(), QStringLiteral("Dobavitelji"));
    QVERIFY(!shown->pixmap().isNull());
    window->ADOQuery1->next(); // a gif is not shown
    QVERIFY(shown->pixmap().isNull());
    QCOMPARE(shown->toolTip(), QString());
    window->ADOQuery1->next(); // nor a picture whose file is gone
    QVERIFY(shown->pixmap().isNull());
}

void TestCodeListWindows::pictureFolderThatCannotBeMade()
{
    CodeListWorld world;
    // The picture folder's place is taken by a file.
    QFile blocker(world.installation.dataFolder() + QStringLiteral("Slike"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TFKategorije *window = open<TFKategorije>(world);
    auto seen = ModalAnswer::press(QStringLiteral("V redu"));
    window->picture()->load();
    QCOMPARE(seen->text, QStringLiteral("Ni mogoče kreirati mape kjer se nahajajo slike!"));
}

void TestCodeListWindows::contactTypesWindow()
{
    CodeListWorld world;
    TFKontakti *window = open<TFKontakti>(world);
    QCOMPARE(window->windowTitle(), QStringLiteral("Kontakti"));
    auto *grid = window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Sortiran"));
    QVERIFY(grid->model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    QCOMPARE(column(window, 0).first(), QStringLiteral("Drugo"));

    // The up/down pair at the right of the name, 10 px in from the area's edge, as is the kind list.
    auto *name = window->findChild<QLineEdit *>(QStringLiteral("DBEdit1"));
    QWidget *area = window->findChild<QWidget *>(QStringLiteral("Panel3"));
    const QRect pair = window->RxSpinButton1->geometry(), kinds = window->DBComboBox1->geometry();
    QCOMPARE(window->RxSpinButton1->parentWidget(), area);
    QCOMPARE(area->width() - pair.right() - 1, 10);
    QCOMPARE(pair.left() - name->geometry().right() - 1, 5);
    QCOMPARE(area->width() - kinds.right() - 1, 10);

    window->ADOQuery1->locate(QStringLiteral("Naziv"), QStringLiteral("Drugo"));
    const int id = window->ADOQuery1->value(QStringLiteral("ID")).toInt();
    QCOMPARE(window->DBComboBox1->currentText(), QStringLiteral("Neznano"));
    chooseFromList(window->DBComboBox1, QStringLiteral("Mobilni telefon"));
    window->ADOQuery1->next();
    QCOMPARE(world.stored(QStringLiteral("SELECT Vrsta FROM TKontakti WHERE ID=%1").arg(id)).toInt(), 4);
    QVERIFY(world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TKontakti'")).isValid());
}

void TestCodeListWindows::contactTypeMovesInOrder_data()
{
    QTest::addColumn<QString>("types");
    QTest::addColumn<QString>("moved");
    QTest::addColumn<bool>("up");
    QTest::addColumn<QString>("expected");
    QTest::newRow("first does not go up") << "A=1 B=2" << "A" << true << "A=1 B=2";
    QTest::newRow("last does not go down") << "A=1 B=2" << "B" << false << "A=1 B=2";
    QTest::newRow("up changes places") << "A=1 B=2" << "B" << true << "A=2 B=1";
    QTest::newRow("into a gap, the other left") << "A=1 C=3" << "C" << true << "A=1 C=2";
    QTest::newRow("without a place, down to the second") << "A= B=2" << "A" << false << "A=2 B=1";
}

void TestCodeListWindows::contactTypeMovesInOrder()
{
    QFETCH(QString, types);
    QFETCH(QString, moved);
    QFETCH(bool, up);
    QFETCH(QString, expected);
    CodeListWorld world(contactTypes(types));
    TFKontakti *window = open<TFKontakti>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("Naziv"), moved));
    (up ? window->RxSpinButton1->upButton() : window->RxSpinButton1->downButton())->click();
    QCOMPARE(storedContactTypes(world), expected);
    QCOMPARE(shownContactTypes(window), expected);
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("Naziv")).toString(), moved);
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Browse);
    QCOMPARE(world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TKontakti'")).isValid(), expected != types);
}

void TestCodeListWindows::movedContactTypeStaysCurrentInOrderedGrid()
{
    CodeListWorld world;
    TFKontakti *window = open<TFKontakti>(world);
    window->DBGrid1TitleClick(1);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("Naziv"), QStringLiteral("Faks")));
    window->RxSpinButton1BottomClick();
    QCOMPARE(column(window, 0).mid(4, 2), (QStringList{"Poštni naslov", "Faks"}));
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("Naziv")).toString(), QStringLiteral("Faks"));
    QCOMPARE(window->ADOQuery1->recNo(), 6);
    QCOMPARE(world.stored(QStringLiteral("SELECT Sort FROM TKontakti WHERE Naziv='Faks'")).toInt(), 6);
}

void TestCodeListWindows::contactTypeMoveThatFailsHalfWayIsUndone()
{
    CodeListWorld world(contactTypes(QStringLiteral("A=1 B=2 C=3")));
    TFKontakti *window = open<TFKontakti>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("Naziv"), QStringLiteral("B")));
    // Meanwhile another workstation gives B another place: A would take B's place, B then cannot.
    DataMod->database().run(QStringLiteral("UPDATE TKontakti SET Sort = 7 WHERE Naziv = \"B\""));
    QVERIFY_THROWS_EXCEPTION(RecordChangedError, window->RxSpinButton1TopClick());
    QCOMPARE(storedContactTypes(world), QStringLiteral("A=1 B=7 C=3"));
    QCOMPARE(shownContactTypes(window), QStringLiteral("A=1 B=7 C=3"));
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("Naziv")).toString(), QStringLiteral("B"));
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Browse);
}

void TestCodeListWindows::contactTypePictureAndLowerPanel()
{
    CodeListWorld world;
    TFKontakti *window = open<TFKontakti>(world);
    const QString elsewhere = picturePath(world.installation.root() + QStringLiteral("mojeslike/"), QStringLiteral("telefon.bmp"));
    ModalAnswer::chooseFile(elsewhere);
    window->picture()->load();
    QVERIFY(QFile::exists(GetImageFolder() + QStringLiteral("Kontakti/telefon.bmp")));
    QCOMPARE(world.stored(QStringLiteral("SELECT IkonaPath FROM TKontakti WHERE ID=%1")
                              .arg(window->ADOQuery1->value(QStringLiteral("ID")).toInt()))
                 .toString(),
             QStringLiteral("telefon.bmp"));
    QVERIFY(!window->picture()->picture()->pixmap().isNull());

    window->parentWidget()->resize(600, 600);
    auto *splitter = window->findChild<QSplitter *>();
    QWidget *lower = window->findChild<QWidget *>(QStringLiteral("Panel1"));
    QTRY_VERIFY(splitter->height() > 400);
    const int whole = splitter->sizes().at(0) + splitter->sizes().at(1);
    splitter->setSizes({whole - 100, 100}); // no lower than its least height
    QCOMPARE(lower->height(), 155);
    splitter->setSizes({whole - 190, 190});
    window->close();
    QCOMPARE(ReadRegInt(QStringLiteral("Software\\Veldra\\FKontakti"), QStringLiteral("Panel1.Height"), 0), 190);
    window = open<TFKontakti>(world);
    QCOMPARE(window->findChild<QWidget *>(QStringLiteral("Panel1"))->height(), 190);
}

void TestCodeListWindows::alarmTypesWindow()
{
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QCOMPARE(window->windowTitle(), QStringLiteral("Alarmi"));
    auto *grid = window->findChild<QTableView *>(QStringLiteral("DBGrid1"));
    QCOMPARE(grid->model()->columnCount(), 1);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Naziv alarma"));
    QCOMPARE(column(window, 0), (QStringList{"Mesečni opomnik", "Obletnica", "Rojstni dan", "Rok", "Sestanek"}));
    // The first row's colours and days are there on opening.
    QCOMPARE(window->ColorComboBox1->colourRef(), 13434828);
    QCOMPARE(window->ColorComboBox2->colourRef(), 0);
    QCOMPARE(window->RxSpinEdit1->value(), 1);
    QCOMPARE(window->DBLookupComboBox1->currentText(), QStringLiteral("na mesec"));

    QWidget *area = window->findChild<QWidget *>(QStringLiteral("Panel3"));
    QCOMPARE(area->width() - window->DBEdit1->geometry().right() - 1, 10);
    QCOMPARE(area->width() - window->DBLookupComboBox1->geometry().right() - 1, 10);
    QCOMPARE(window->FlatButton1->parentWidget()->objectName(), QStringLiteral("Panel4"));
    QVERIFY(window->FlatButton1->y() > window->findChild<FlatButton *>(QStringLiteral("SpeedButton2"))->y());
    QCOMPARE(window->picture()->folder(), GetImageFolder() + QStringLiteral("Alarmi/"));
}

void TestCodeListWindows::addingAnAlarmType()
{
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QString name;
    qint64 back = -1, font = -1;
    bool flashing = true;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *form = qobject_cast<TFDodajAlarm *>(shown);
        if (!form) {
            shown->close();
            return;
        }
        name = form->Edit1->text();
        back = form->ColorBox1->colourRef();
        font = form->ColorBox2->colourRef();
        flashing = form->CheckBox1->isChecked();
        form->Edit1->setText(QStringLiteral("Servis avta"));
        form->DBLookupComboBox1->setCurrentKey(2);
        form->okButton()->click();
    });
    window->findChild<FlatButton *>(QStringLiteral("SpeedButton2"))->click();
    QCOMPARE(name, QString());
    QCOMPARE(back, 0xFFFFFF);
    QCOMPARE(font, 0);
    QVERIFY(!flashing);
    QCOMPARE(window->ADOQuery1->value(QStringLiteral("NazivAlarma")).toString(), QStringLiteral("Servis avta"));
    QVERIFY(column(window, 0).contains(QStringLiteral("Servis avta")));
    QCOMPARE(window->ColorComboBox1->colourRef(), 0xFFFFFF);
}

void TestCodeListWindows::alarmTypeControlsFollowTheRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint64>("back");
    QTest::addColumn<qint64>("font");
    QTest::addColumn<int>("days");
    QTest::newRow("nulls show black and no days") << "Brez barv" << qint64(0) << qint64(0) << 0;
    QTest::newRow("stored values") << "Rok" << qint64(255) << qint64(0xFFFFFF) << 2;
}

// Showing a row writes nothing back: not the values shown, not a null as 0.
void TestCodeListWindows::alarmTypeControlsFollowTheRow()
{
    QFETCH(QString, name);
    QFETCH(qint64, back);
    QFETCH(qint64, font);
    QFETCH(int, days);
    CodeListWorld world([](Database &database) { database.run(QStringLiteral("INSERT INTO TEventAlarms (NazivAlarma) VALUES (\"Brez barv\")")); });
    const QString before = storedAlarmLook(world, name);
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Rojstni dan"))); // 3 days, yellow
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), name));
    QCOMPARE(window->ColorComboBox1->colourRef(), back);
    QCOMPARE(window->ColorComboBox2->colourRef(), font);
    QCOMPARE(window->RxSpinEdit1->value(), days);
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Browse);
    QCOMPARE(storedAlarmLook(world, name), before);
    QVERIFY(!world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TEventAlarms'")).isValid());
}

void TestCodeListWindows::alarmTypeControlSavesAtOnce_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("field");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("background colour") << "ColorComboBox1" << "BackColor" << qint64(255);
    QTest::newRow("text colour") << "ColorComboBox2" << "FontColor" << qint64(255);
    QTest::newRow("day count") << "RxSpinEdit1" << "AlertNDaysBefore" << qint64(1);
}

void TestCodeListWindows::alarmTypeControlSavesAtOnce()
{
    QFETCH(QString, control);
    QFETCH(QString, field);
    QFETCH(qint64, expected);
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Sestanek"))); // blue, black, 0 days
    const int id = window->ADOQuery1->value(QStringLiteral("ID")).toInt();
    window->DBEdit1->setFocus();
    window->DBEdit1->end(false);
    typeText(window->DBEdit1, QStringLiteral(" v Celju"));
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Edit);

    QWidget *changed = window->findChild<QWidget *>(control);
    if (auto *colours = qobject_cast<ColourComboBox *>(changed))
        chooseFromList(colours, QStringLiteral("Rdeča"));
    else
        QTest::keyClick(changed, Qt::Key_Up);
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Browse);
    QCOMPARE(world.stored(QStringLiteral("SELECT %1 FROM TEventAlarms WHERE ID=%2").arg(field).arg(id)).toLongLong(), expected);
    QCOMPARE(world.stored(QStringLiteral("SELECT NazivAlarma FROM TEventAlarms WHERE ID=%1").arg(id)).toString(),
             QStringLiteral("Sestanek v Celju"));
    QVERIFY(world.stored(QStringLiteral("SELECT LastModified FROM TRequery WHERE TableName='TEventAlarms'")).isValid());
}

void TestCodeListWindows::alarmWithoutRepetitionIsStored()
{
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Rojstni dan")));
    QCOMPARE(window->DBLookupComboBox1->currentText(), QStringLiteral("na leto"));
    chooseFromList(window->DBLookupComboBox1, QStringLiteral("brez"));
    window->ADOQuery1->next();
    const QVariant repetition = world.stored(QStringLiteral("SELECT AlertType FROM TEventAlarms WHERE NazivAlarma='Rojstni dan'"));
    QVERIFY(!repetition.isNull());
    QCOMPARE(repetition.toInt(), 0);
}

void TestCodeListWindows::alarmTypeLowerPanel()
{
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    window->parentWidget()->resize(600, 600);
    auto *splitter = window->findChild<QSplitter *>();
    QWidget *lower = window->findChild<QWidget *>(QStringLiteral("Panel1"));
    QTRY_VERIFY(splitter->height() > 400);
    // At first it opens with room for all the fields, the picture's included.
    QVERIFY(lower->height() > 153);
    QVERIFY(window->picture()->height() >= window->picture()->minimumSizeHint().height());
    const int whole = splitter->sizes().at(0) + splitter->sizes().at(1);
    splitter->setSizes({whole - 100, 100});
    QCOMPARE(lower->height(), 153);
    splitter->setSizes({whole - 200, 200});
    window->close();
    QCOMPARE(ReadRegInt(QStringLiteral("Software\\Veldra\\FAlarmi"), QStringLiteral("Panel1.Height"), 0), 200);
    window = open<TFAlarmi>(world);
    QCOMPARE(window->findChild<QWidget *>(QStringLiteral("Panel1"))->height(), 200);
}

void TestCodeListWindows::pictureNameLongerThanItsColumn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("kept");
    QTest::newRow("as long as the column") << "zvonec-sestanek1.bmp" << true;
    QTest::newRow("a character longer") << "zvonec-sestanek12.bmp" << false;
}

// The column holds 20 characters: a longer name is refused before anything is copied.
void TestCodeListWindows::pictureNameLongerThanItsColumn()
{
    QFETCH(QString, name);
    QFETCH(bool, kept);
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Sestanek")));
    const int id = window->ADOQuery1->value(QStringLiteral("ID")).toInt();
    std::shared_ptr<ModalAnswer::Seen> refusal;
    ModalAnswer::chooseFile(picturePath(world.installation.root() + QStringLiteral("mojeslike/"), name),
               [&refusal] { refusal = ModalAnswer::press(QStringLiteral("V redu"), 1000); });
    window->picture()->load();
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Browse);
    QCOMPARE(world.stored(QStringLiteral("SELECT Ikona FROM TEventAlarms WHERE ID=%1").arg(id)).toString(), kept ? name : QString());
    QCOMPARE(QFile::exists(GetImageFolder() + QStringLiteral("Alarmi/") + name), kept);
    if (kept) {
        QTest::qWait(1100); // until the answer gives up waiting
        QVERIFY(!refusal->shown);
    } else {
        QVERIFY(refusal->shown);
        QCOMPARE(refusal->text, QStringLiteral("Ime datoteke s sliko je predolgo: dovoljenih je največ 20 znakov!"));
    }
}

// A type that does not flash, made to flash on the screen and not saved yet: the example
// flashes in the type's colours, a swap every 300 ms.
void TestCodeListWindows::exampleAlarmFlashes()
{
    CodeListWorld world;
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Sestanek")));
    window->DBCheckBox1->click();
    QCOMPARE(window->ADOQuery1->state(), Dataset::State::Edit);
    QList<AlarmLook> looks;
    QString caption, text;
    QSize size;
    bool closedByButton = false;
    ModalAnswer::whenShown([&](QWidget *shown) {
        auto *alarm = qobject_cast<TFAlarm *>(shown);
        if (!alarm) {
            shown->close();
            return;
        }
        QElapsedTimer clock;
        clock.start();
        looks << lookOf(alarm, clock);
        for (int swap = 0; swap < 2; ++swap) {
            const QColor before = looks.last().area;
            while (lookOf(alarm, clock).area == before && clock.elapsed() < 3000)
                QTest::qWait(5);
            looks << lookOf(alarm, clock);
        }
        caption = alarm->windowTitle();
        text = alarm->Label1->text();
        size = alarm->size();
        alarm->BitBtn1->click();
        closedByButton = !alarm->isVisible();
        alarm->close();
    });
    window->FlatButton1->click();
    QVERIFY(closedByButton);
    QCOMPARE(caption, QStringLiteral("Sestanek"));
    QCOMPARE(text, QStringLiteral("Sestanek"));
    QCOMPARE(size, QSize(405, 124));
    QCOMPARE(looks.size(), 3);
    const QColor blue = ColourFromRef(16763904), black(Qt::black);
    QCOMPARE(looks[0].area, blue);
    QCOMPARE(looks[0].text, black);
    QCOMPARE(looks[1].area, black);
    QCOMPARE(looks[1].text, blue);
    QCOMPARE(looks[2].area, blue);
    QCOMPARE(looks[2].text, black);
    const qint64 tick = looks[2].at - looks[1].at;
    QVERIFY2(tick >= 250 && tick <= 700, qPrintable(QString::number(tick)));
    QVERIFY(FAlarm->Timer1->isActive()); // closing leaves the timer to the next alarm
    QVERIFY(!world.stored(QStringLiteral("SELECT Flashing FROM TEventAlarms WHERE NazivAlarma='Sestanek'")).toBool());
}

void TestCodeListWindows::exampleAlarmPicture_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("file"); // none when not valid
    QTest::addColumn<QSize>("shown"); // hidden when not valid
    QTest::newRow("no picture") << "" << QSize() << QSize();
    QTest::newRow("file missing") << "zvonec.bmp" << QSize() << QSize();
    QTest::newRow("small picture as it is") << "zvonec.bmp" << QSize(8, 8) << QSize(8, 8);
    QTest::newRow("large picture fitted") << "velik.bmp" << QSize(201, 100) << QSize(67, 33);
}

void TestCodeListWindows::exampleAlarmPicture()
{
    QFETCH(QString, name);
    QFETCH(QSize, file);
    QFETCH(QSize, shown);
    CodeListWorld world([name](Database &database) {
        database.run(QStringLiteral("UPDATE TEventAlarms SET Ikona = \"%1\" WHERE NazivAlarma = \"Sestanek\"").arg(name));
    });
    if (file.isValid()) {
        QVERIFY(QDir().mkpath(GetImageFolder() + QStringLiteral("Alarmi")));
        QImage picture(file, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(GetImageFolder() + QStringLiteral("Alarmi/") + name, "BMP"));
    }
    TFAlarmi *window = open<TFAlarmi>(world);
    QVERIFY(window->ADOQuery1->locate(QStringLiteral("NazivAlarma"), QStringLiteral("Sestanek")));
    bool seen = false, visible = false;
    QPixmap picture;
    ModalAnswer::whenShown([&](QWidget *dialog) {
        if (auto *alarm = qobject_cast<TFAlarm *>(dialog)) {
            seen = true;
            visible = alarm->Image1->isVisible();
            picture = alarm->Image1->pixmap();
        }
        dialog->close();
    });
    window->FlatButton1->click();
    QVERIFY(seen);
    QCOMPARE(visible, shown.isValid());
    QCOMPARE(picture.isNull(), !shown.isValid());
    if (shown.isValid())
        QCOMPARE(picture.size(), shown);
}

// An alarm shown after a flashing one neither flashes nor keeps its picture. Either is
// centred on the main window, whatever its parent.
void TestCodeListWindows::nextAlarmStartsAfresh()
{
    CodeListWorld world;
    world.main->setGeometry(40, 30, 700, 500);
    TFAlarm alarm;
    const QString bell = picturePath(world.installation.root() + QStringLiteral("slike/"), QStringLiteral("zvonec.bmp"));
    QPoint centre;
    ModalAnswer::whenShown([&](QWidget *) {
        centre = alarm.geometry().center();
        alarm.BitBtn1->click();
    });
    alarm.showAlarm(QStringLiteral("Rok"), QStringLiteral("Rok"), true, Qt::white, Qt::red, bell);
    QVERIFY((centre - world.main->geometry().center()).manhattanLength() <= 1);
    QVERIFY(alarm.Timer1->isActive());

    bool running = true, picture = true;
    QColor area;
    ModalAnswer::whenShown([&](QWidget *) {
        running = alarm.Timer1->isActive();
        picture = alarm.Image1->isVisible() || !alarm.Image1->pixmap().isNull();
        QTest::qWait(400);
        area = alarm.Panel1->palette().color(QPalette::Window);
        alarm.close();
    });
    alarm.showAlarm(QStringLiteral("Sestanek"), QStringLiteral("Sestanek"), false, Qt::black, Qt::blue, QString());
    QVERIFY(!running);
    QVERIFY(!picture);
    QCOMPARE(area, QColor(Qt::blue));
}

void TestCodeListWindows::companyHeaderName()
{
    CodeListWorld world([](Database &database) { database.run(QStringLiteral("UPDATE TMaticniPodaci SET IDFirma = 3")); });
    world.installation.writeIni({{QStringLiteral("MaticniPodatki"), QStringLiteral("3")}});
    world.installation.restart();
    world.dataMod.reset();
    world.dataMod = std::make_unique<TDataMod>();
    TFPodjetje *window = open<TFPodjetje>(world);
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("Naziv"))->text(), QStringLiteral("Moje podjetje d.o.o."));
    const QString pictures = GetImageFolder();
    const QString source = world.installation.root() + QStringLiteral("glave/");

    ModalAnswer::chooseFile(picturePath(source, QStringLiteral("Glava.BMP")));
    window->header()->load();
    QCOMPARE(world.stored(QStringLiteral("SELECT LogoForReportsFName FROM TMaticniPodaci")).toString(), QStringLiteral("M3.BMP"));
    QVERIFY(QFile::exists(pictures + QStringLiteral("M3.BMP")));
    QVERIFY(!window->header()->picture()->pixmap().isNull());

    ModalAnswer::chooseFile(picturePath(source, QStringLiteral("nova.jpg")));
    window->header()->load();
    QCOMPARE(world.stored(QStringLiteral("SELECT LogoForReportsFName FROM TMaticniPodaci")).toString(), QStringLiteral("M3.jpg"));
    QVERIFY(QFile::exists(pictures + QStringLiteral("M3.BMP")));

    // Choosing the header's own file again must not lose it.
    const qint64 size = QFileInfo(pictures + QStringLiteral("M3.jpg")).size();
    ModalAnswer::chooseFile(pictures + QStringLiteral("M3.jpg"));
    window->header()->load();
    QCOMPARE(QFileInfo(pictures + QStringLiteral("M3.jpg")).size(), size);

    // Icons are not headers.
    QVERIFY(!QPixmap(picturePath(pictures, QStringLiteral("M3.ico"))).isNull());
    world.dataMod->QPodjetje->setValue(QStringLiteral("LogoForReportsFName"), QStringLiteral("M3.ico"));
    QVERIFY(window->header()->picture()->pixmap().isNull());
}

void TestCodeListWindows::missingCompanyRowIsMadeOnTyping()
{
    CodeListWorld world([](Database &database) { database.run(QStringLiteral("DELETE * FROM TMaticniPodaci")); });
    TFPodjetje *window = open<TFPodjetje>(world);
    auto *name = window->findChild<QLineEdit *>(QStringLiteral("Naziv"));
    QVERIFY(name->isEnabled());
    name->setFocus();
    typeText(name, QStringLiteral("Novo podjetje"));
    window->close();
    QCOMPARE(world.stored(QStringLiteral("SELECT IDFirma FROM TMaticniPodaci")).toInt(), 1);
    QCOMPARE(world.stored(QStringLiteral("SELECT Naziv FROM TMaticniPodaci")).toString(), QStringLiteral("Novo podjetje"));
}

QTEST_MAIN(TestCodeListWindows)
#include "tst_CodeListWindows.moc"
