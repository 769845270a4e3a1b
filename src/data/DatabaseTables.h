#pragma once

#include "TableSource.h"

class Database;

// A database of ours as the source of an import or a copy: the tables the program knows,
// each row in the order of its key, values as the program reads them. A value the
// program cannot read as its column's type (a date another tool wrote in a form of its
// own) comes as it is stored, so that the writer can name it.
class DatabaseTables : public TableSource
{
public:
    explicit DatabaseTables(const Database &database);

    QString describe() const override;
    QStringList tables() const override;
    QStringList columns(const QString &table) const override;
    qint64 rowCount(const QString &table) const override;
    void read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const override;

private:
    const Database &m_database;
};
