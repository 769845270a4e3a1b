#pragma once

#include "CsvFields.h"
#include "CsvTable.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QTableWidget;

// The columns of a CSV file mapped to the fields of a person: the first rows shown, a
// field chosen above each column, the headers of the common exports mapped already, and
// the mapping of the last file with the same headers offered again.
class CsvMappingDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int ShownRows = 10;

    CsvMappingDialog(const CsvTable &table, const QString &fileName, QWidget *parent = nullptr);

    QList<CardField> mapping() const;
    bool firstRowIsHeader() const;

    // Remembers the mapping for the next file with these headers.
    void remember() const;

    QTableWidget *Rows;
    QCheckBox *HeaderRow;
    QList<QComboBox *> Fields;

private:
    void showRows();

    const CsvTable &m_table;
    QStringList m_headers;
};
