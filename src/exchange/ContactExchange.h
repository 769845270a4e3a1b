#pragma once

#include "CardImport.h"
#include "ExchangeFiles.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class Database;
class QWidget;

// The program's import and export ("Uvoz ...", "Izvoz ..." and files dropped on the
// person window): the files chosen, a CSV file's columns mapped, one question for the
// duplicates, the work with a progress bar that can cancel it, and what was done told.
class ContactExchange : public QObject
{
    Q_OBJECT
public:
    // What the program around it gives: its database, what the person window lists and
    // shows, and what to do once persons came in.
    struct Program
    {
        std::function<Database &()> database;
        std::function<QList<qint64>()> listedPersons;
        std::function<std::optional<qint64>()> currentPerson;
        std::function<void(const QStringList &tables)> changed;
    };

    ContactExchange(Program program, QWidget *parent);

    // Asks for files and imports them.
    void importChosenFiles();
    void importFiles(const QStringList &files);
    // Asks what to export and where, and writes it.
    void exportPersons();

    // vCard and CSV files dropped on the window are imported.
    void acceptDrops(QWidget *window);

    // Whether a drop brings files the import reads.
    static bool isImportable(const QString &file);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Source;
    std::unique_ptr<Source> open(const QString &file);
    std::optional<DuplicatePolicy> askDuplicates(int duplicates);
    void tellSummary(const ImportSummary &summary, const QList<CardProblem> &unread, const QStringList &unreadFiles);

    Program m_program;
    QWidget *m_parent;
    QWidget *m_dropTarget = nullptr;
};
