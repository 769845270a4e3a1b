#include "ContactExchange.h"

#include "CardExport.h"
#include "CsvFormat.h"
#include "CsvMappingDialog.h"
#include "Database.h"
#include "DatabaseError.h"
#include "PublicFunctions.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace {

// The first problems are listed; the rest only counted, so that the message still fits.
constexpr int ListedProblems = 8;

QString filters()
{
    return QObject::tr("Vizitke in CSV (*.vcf *.vcard *.csv);;Vizitke (*.vcf *.vcard);;CSV (*.csv);;Vse datoteke (*)");
}

}

ContactExchange::ContactExchange(Program program, QWidget *parent)
    : QObject(parent)
    , m_program(std::move(program))
    , m_parent(parent)
{
}

bool ContactExchange::isImportable(const QString &file)
{
    const QString suffix = QFileInfo(file).suffix().toLower();
    return suffix == QLatin1String("vcf") || suffix == QLatin1String("vcard") || suffix == QLatin1String("csv");
}

namespace {

// The local files of a drop that the import reads; empty when the drop brings others.
QStringList importableFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile() || !ContactExchange::isImportable(url.toLocalFile()))
            return {};
        files << url.toLocalFile();
    }
    return files;
}

}

void ContactExchange::acceptDrops(QWidget *window)
{
    m_dropTarget = window;
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool ContactExchange::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_dropTarget && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove)) {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!importableFiles(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    }
    if (watched == m_dropTarget && event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = importableFiles(drop->mimeData());
        if (!files.isEmpty()) {
            drop->acceptProposedAction();
            // After the drop has ended: the import asks questions of its own.
            QMetaObject::invokeMethod(this, [this, files] { importFiles(files); }, Qt::QueuedConnection);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void ContactExchange::importChosenFiles()
{
    const QStringList files = QFileDialog::getOpenFileNames(m_parent, tr("Uvoz oseb"), QString(), filters());
    if (!files.isEmpty())
        importFiles(files);
}

// A file to import: a vCard file read as it goes, or the cards of a CSV file as its
// columns were mapped.
struct ContactExchange::Source
{
    QString name;
    std::unique_ptr<CardFile> file;
    ReadCards csv;

    CardImport::CardFeed feed() { return file ? file->feed() : CardImport::feedOf(csv.Cards); }
    QList<CardProblem> problems() const { return file ? file->problems() : csv.Problems; }
    qsizetype count() const { return file ? file->count() : csv.Cards.size(); }
};

std::unique_ptr<ContactExchange::Source> ContactExchange::open(const QString &file)
{
    auto source = std::make_unique<Source>();
    source->name = QFileInfo(file).fileName();
    if (FormatOfFileName(file) != ExchangeFormat::Csv) {
        source->file = std::make_unique<CardFile>(file);
        return source;
    }
    QFile bytes(file);
    if (!bytes.open(QIODevice::ReadOnly)) {
        source->csv.Problems = {{0, tr("Datoteke ni mogoče odpreti: %1").arg(bytes.errorString())}};
        return source;
    }
    const CsvTable table = ReadCsvTable(bytes.readAll());
    CsvMappingDialog mapping(table, source->name, m_parent);
    if (mapping.exec() != QDialog::Accepted)
        return nullptr;
    mapping.remember();
    source->csv = CardsFromTable(table, mapping.mapping(), mapping.firstRowIsHeader());
    return source;
}

std::optional<DuplicatePolicy> ContactExchange::askDuplicates(int duplicates)
{
    if (duplicates == 0)
        return DuplicatePolicy::Skip;
    QMessageBox box(QMessageBox::Question, tr("Uvoz oseb"),
                    tr("%n osebe iz datotek so že v imeniku (enako ime in isti elektronski naslov ali telefon).\n"
                       "Kaj naj storim z njimi?", nullptr, duplicates),
                    QMessageBox::NoButton, m_parent);
    QPushButton *skip = box.addButton(tr("&Preskoči"), QMessageBox::AcceptRole);
    QPushButton *update = box.addButton(tr("P&osodobi"), QMessageBox::AcceptRole);
    QPushButton *add = box.addButton(tr("&Dodaj vseeno"), QMessageBox::AcceptRole);
    box.addButton(tr("P&rekliči"), QMessageBox::RejectRole);
    box.setDefaultButton(skip);
    box.exec();
    if (box.clickedButton() == skip)
        return DuplicatePolicy::Skip;
    if (box.clickedButton() == update)
        return DuplicatePolicy::Update;
    if (box.clickedButton() == add)
        return DuplicatePolicy::Add;
    return std::nullopt;
}

void ContactExchange::importFiles(const QStringList &files)
{
    std::vector<std::unique_ptr<Source>> sources;
    qsizetype count = 0;
    for (const QString &file : files) {
        std::unique_ptr<Source> source = open(file);
        if (!source)
            return;
        count += source->count();
        sources.push_back(std::move(source));
    }
    const CardImport::CardFeed everyFile = [&sources](const std::function<void(const ContactCard &)> &take) {
        for (const auto &source : sources)
            source->feed()(take);
    };
    const auto unreadOf = [&sources](QStringList &names) {
        QList<CardProblem> unread;
        for (const auto &source : sources) {
            for (const CardProblem &problem : source->problems()) {
                unread << problem;
                names << source->name;
            }
        }
        return unread;
    };
    QStringList unreadFiles;
    if (count == 0) {
        const QList<CardProblem> unread = unreadOf(unreadFiles);
        tellSummary({}, unread, unreadFiles);
        return;
    }
    try {
        Database &database = m_program.database();
        CardImport import(database);
        // The files are read twice, for the question and for the import, so that a large
        // one is never held as cards all at once.
        const std::optional<DuplicatePolicy> policy = askDuplicates(import.countDuplicates(everyFile));
        if (!policy)
            return;
        QProgressDialog progress(tr("Uvažam osebe ..."), tr("Prekliči"), 0, int(count), m_parent);
        progress.setWindowTitle(tr("Uvoz oseb"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const ImportSummary summary = import.run(everyFile, *policy, [&progress](int done) {
            progress.setValue(done);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
        progress.reset();
        if (summary.Cancelled) {
            ShowMessageBox(tr("Uvoz je preklican. V imenik ni bilo dodano nič."), 0);
            return;
        }
        if (m_program.changed)
            m_program.changed(CardImport::tablesWritten());
        const QList<CardProblem> unread = unreadOf(unreadFiles);
        tellSummary(summary, unread, unreadFiles);
    } catch (const DatabaseError &error) {
        ShowMessageBox(tr("Uvoz ni uspel, v imenik ni bilo dodano nič.\n%1").arg(error.message()), 0);
    }
}

void ContactExchange::tellSummary(const ImportSummary &summary, const QList<CardProblem> &unread, const QStringList &unreadFiles)
{
    QStringList lines{tr("Uvoženih oseb: %1, kontaktov: %2, preskočenih vizitk: %3.")
                          .arg(summary.Persons)
                          .arg(summary.Contacts)
                          .arg(summary.Skipped + int(unread.size()))};
    if (summary.Updated > 0)
        lines << tr("Posodobljenih oseb: %1.").arg(summary.Updated);
    QStringList problems;
    for (qsizetype i = 0; i < unread.size(); ++i)
        problems << tr("%1, vrstica %2: %3").arg(unreadFiles[i]).arg(unread[i].Line).arg(unread[i].Reason);
    for (const CardProblem &notice : summary.Notices)
        problems << tr("vrstica %1: %2").arg(notice.Line).arg(notice.Reason);
    if (!problems.isEmpty()) {
        lines << QString();
        lines += problems.mid(0, ListedProblems);
        if (problems.size() > ListedProblems)
            lines << tr("... in še %1").arg(problems.size() - ListedProblems);
    }
    ShowMessageBox(lines.join(QLatin1Char('\n')), 0);
}

void ContactExchange::exportPersons()
{
    const QList<qint64> listed = m_program.listedPersons ? m_program.listedPersons() : QList<qint64>();
    const std::optional<qint64> current = m_program.currentPerson ? m_program.currentPerson() : std::nullopt;
    if (listed.isEmpty() && !current) {
        ShowMessageBox(tr("V seznamu ni nobene osebe za izvoz."), 0);
        return;
    }
    QMessageBox box(QMessageBox::Question, tr("Izvoz oseb"), tr("Katere osebe naj izvozim?"), QMessageBox::NoButton, m_parent);
    QPushButton *one = current ? box.addButton(tr("&Trenutno osebo"), QMessageBox::AcceptRole) : nullptr;
    QPushButton *all = listed.isEmpty() ? nullptr : box.addButton(tr("&Vse v seznamu (%1)").arg(listed.size()), QMessageBox::AcceptRole);
    box.addButton(tr("P&rekliči"), QMessageBox::RejectRole);
    box.exec();
    if (!box.clickedButton() || (box.clickedButton() != one && box.clickedButton() != all))
        return;
    const QList<qint64> ids = box.clickedButton() == one ? QList<qint64>{*current} : listed;

    QString filter;
    const QString vcard3 = tr("Vizitke vCard 3.0 (*.vcf)");
    const QString vcard4 = tr("Vizitke vCard 4.0 (*.vcf)");
    const QString csv = tr("CSV (*.csv)");
    QString file = QFileDialog::getSaveFileName(m_parent, tr("Izvoz oseb"), tr("osebe.vcf"),
                                                vcard3 + QStringLiteral(";;") + vcard4 + QStringLiteral(";;") + csv, &filter);
    if (file.isEmpty())
        return;
    const ExchangeFormat format = filter == csv ? ExchangeFormat::Csv : filter == vcard4 ? ExchangeFormat::VCard4 : ExchangeFormat::VCard3;
    if (QFileInfo(file).suffix().isEmpty())
        file += format == ExchangeFormat::Csv ? QStringLiteral(".csv") : QStringLiteral(".vcf");
    try {
        // The reads, then the writing of the file.
        QProgressDialog progress(tr("Izvažam osebe ..."), tr("Prekliči"), 0, ExportSteps + 1, m_parent);
        progress.setWindowTitle(tr("Izvoz oseb"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(500);
        const std::optional<QList<ContactCard>> cards = ExportCards(m_program.database(), ids, [&progress](int done) {
            progress.setValue(done);
            QApplication::processEvents();
            return !progress.wasCanceled();
        });
        if (!cards) {
            progress.reset();
            ShowMessageBox(tr("Izvoz je preklican. Datoteka ni bila zapisana."), 0);
            return;
        }
        progress.setValue(ExportSteps);
        QString reason;
        const bool written = WriteExchangeFile(file, *cards, format, &reason);
        progress.reset();
        if (!written)
            ShowMessageBox(tr("Datoteke %1 ni mogoče zapisati.\n%2").arg(file, reason), 0);
        else
            ShowMessageBox(tr("Izvoženih oseb: %1.").arg(cards->size()), 0);
    } catch (const DatabaseError &error) {
        ShowMessageBox(tr("Izvoz ni uspel.\n%1").arg(error.message()), 0);
    }
}
