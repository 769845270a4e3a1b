#include "CardImport.h"
#include "ContactExchange.h"
#include "CsvMappingDialog.h"
#include "ModalAnswer.h"
#include "TestDatabase.h"
#include "TestInstallation.h"
#include "VCardFormat.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Answers the modal dialogs one after the other, each with its own answer, and keeps what
// each said.
class DialogAnswers
{
public:
    using Answer = std::function<void(QWidget *)>;

    explicit DialogAnswers(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        next();
    }

    QList<ModalAnswer::Seen> seen;

    static Answer press(const QString &caption)
    {
        return [caption](QWidget *dialog) {
            for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
                if (button->isVisible() && button->text().remove(QLatin1Char('&')) == caption) {
                    button->click();
                    return;
                }
            }
            dialog->close();
        };
    }

private:
    void next()
    {
        if (m_answers.isEmpty())
            return;
        const Answer answer = m_answers.takeFirst();
        ModalAnswer::whenShown([this, answer](QWidget *dialog) {
            seen << ModalAnswer::describe(dialog);
            answer(dialog);
            next();
        });
    }

    QList<Answer> m_answers;
};

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

const QByteArray twoCards = "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Novak;Janez;;;\r\nFN:Janez Novak\r\nEMAIL:janez@example.si\r\n"
                            "TITLE:direktor\r\nEND:VCARD\r\n"
                            "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Šuštar;Ana;;;\r\nFN:Ana Šuštar\r\nTEL;TYPE=CELL:041 222 333\r\nEND:VCARD\r\n";

// A program of its own for the exchange: a database, the listed persons, what changed.
class ExchangeWorld
{
public:
    ExchangeWorld()
        : exchange({[this]() -> Database & { return *database; }, [this] { return listed; },
                    [this]() -> std::optional<qint64> { return listed.isEmpty() ? std::nullopt : std::optional(listed.first()); },
                    [this](const QStringList &tables) { changed = tables; }},
                   &window)
    {
        db.useIn(installation);
        database = db.connect();
        window.show();
    }

    int count(const QString &where) const
    {
        return stored(*database, QStringLiteral("SELECT COUNT(*) FROM TOsnovniPod WHERE ") + where).toInt();
    }

    TestInstallation installation;
    TestDatabase db{SqlDialect::Sqlite};
    std::unique_ptr<Database> database;
    QList<qint64> listed;
    QStringList changed;
    QWidget window;
    ContactExchange exchange;
    QTemporaryDir files;
};

}

class TestContactExchange : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void importAsksOnceForTheDuplicates();
    void csvColumnsAreMappedAndRemembered();
    void exportWritesTheListedPersons();
    void droppedFilesAreImported();
};

void TestContactExchange::importAsksOnceForTheDuplicates()
{
    ExchangeWorld world;
    CardImport(*world.database).run({ReadVCards(twoCards).Cards.first()}, DuplicatePolicy::Skip);
    const QString file = world.files.filePath(QStringLiteral("telefon.vcf"));
    writeFile(file, twoCards + twoCards);
    DialogAnswers answers({DialogAnswers::press(QStringLiteral("Posodobi")), DialogAnswers::press(QStringLiteral("V redu"))});
    world.exchange.importFiles({file});

    // Janez is there twice, and the second Ana finds the first: all three are updated.
    QCOMPARE(answers.seen.size(), 2);
    QVERIFY2(answers.seen[0].text.startsWith(QStringLiteral("2 osebe iz datotek so že v imeniku")), qPrintable(answers.seen[0].text));
    QVERIFY2(answers.seen[1].text.startsWith(QStringLiteral("Uvoženih oseb: 1, kontaktov: 1, preskočenih vizitk: 0.\nPosodobljenih oseb: 3.")),
             qPrintable(answers.seen[1].text));
    QCOMPARE(world.count(QStringLiteral("Priimek = 'Novak'")), 1);
    QCOMPARE(world.count(QStringLiteral("Priimek = 'Šuštar'")), 1);
    QCOMPARE(world.changed, CardImport::tablesWritten());
}

void TestContactExchange::csvColumnsAreMappedAndRemembered()
{
    ExchangeWorld world;
    const QString file = QStringLiteral(SAMPLES) + QStringLiteral("thunderbird.csv");
    QString firstNameField;
    // The first time the nickname column is left out by hand; the next time that is offered again.
    const auto leaveOutNickname = [&firstNameField](QWidget *dialog) {
        auto *mapping = qobject_cast<CsvMappingDialog *>(dialog);
        QVERIFY(mapping);
        QVERIFY(mapping->HeaderRow->isChecked());
        firstNameField = mapping->Fields.first()->currentText();
        for (QComboBox *field : mapping->Fields) {
            if (field->currentText() == CardFieldName(CardField::Nickname))
                field->setCurrentIndex(field->findData(int(CardField::None)));
        }
        DialogAnswers::press(QStringLiteral("Uvozi"))(dialog);
    };
    DialogAnswers first({leaveOutNickname, DialogAnswers::press(QStringLiteral("V redu"))});
    world.exchange.importFiles({file});
    QCOMPARE(firstNameField, CardFieldName(CardField::GivenName));
    QVERIFY(world.count(QStringLiteral("1 = 1")) > 0);

    bool nicknameOffered = true;
    const auto look = [&nicknameOffered](QWidget *dialog) {
        auto *mapping = qobject_cast<CsvMappingDialog *>(dialog);
        QVERIFY(mapping);
        nicknameOffered = std::any_of(mapping->Fields.cbegin(), mapping->Fields.cend(), [](const QComboBox *field) {
            return field->currentText() == CardFieldName(CardField::Nickname);
        });
        DialogAnswers::press(QStringLiteral("Prekliči"))(dialog);
    };
    DialogAnswers second({look});
    world.exchange.importFiles({file});
    QCOMPARE(second.seen.size(), 1);
    QVERIFY(!nicknameOffered);
}

void TestContactExchange::exportWritesTheListedPersons()
{
    ExchangeWorld world;
    CardImport(*world.database).run(ReadVCards(twoCards).Cards, DuplicatePolicy::Skip);
    world.database->read(QStringLiteral("SELECT ID FROM TOsnovniPod ORDER BY ID"), {}, [](const QStringList &) {},
                         [&world](const QVariant *v) { world.listed << v[0].toLongLong(); });
    // A person listed twice, as some searches list them, goes once.
    world.listed << world.listed.first();
    const QString file = world.files.filePath(QStringLiteral("izvoz.vcf"));
    DialogAnswers answers({DialogAnswers::press(QStringLiteral("Vse v seznamu (%1)").arg(world.listed.size())),
                           [file](QWidget *dialog) {
                               ModalAnswer::chooseFile(file);
                               Q_UNUSED(dialog);
                           },
                           DialogAnswers::press(QStringLiteral("V redu"))});
    world.exchange.exportPersons();
    QCOMPARE(answers.seen.size(), 3);
    QCOMPARE(answers.seen[2].text, QStringLiteral("Izvoženih oseb: %1.").arg(world.listed.size() - 1));
    QFile written(file);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(ReadVCards(written.readAll()).Cards.size(), world.listed.size() - 1);
}

void TestContactExchange::droppedFilesAreImported()
{
    ExchangeWorld world;
    QWidget target;
    target.show();
    world.exchange.acceptDrops(&target);
    const QString file = world.files.filePath(QStringLiteral("ana.vcf"));
    writeFile(file, twoCards);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    QVERIFY(drop.isAccepted());
    DialogAnswers answers({DialogAnswers::press(QStringLiteral("V redu"))});
    QTRY_COMPARE(answers.seen.size(), 1);
    QCOMPARE(world.count(QStringLiteral("Priimek = 'Šuštar'")), 1);

    // Other files are no import.
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(world.files.filePath(QStringLiteral("slika.png")))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &other, Qt::LeftButton, Qt::NoModifier);
    refused.ignore();
    QApplication::sendEvent(&target, &refused);
    QVERIFY(!refused.isAccepted());
}

QTEST_MAIN(TestContactExchange)
#include "tst_ContactExchange.moc"
