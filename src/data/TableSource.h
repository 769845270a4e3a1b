#pragma once

#include <QStringList>
#include <QVariant>

#include <functional>

// The tables of another database, read for an import: a file of the Windows program, or
// a database of ours. Values come as the program uses them: null, bool, whole numbers,
// double, QDateTime (a wall-clock value), QString; what has no such form (a picture, say)
// as QByteArray.
class TableSource
{
public:
    virtual ~TableSource() = default;

    virtual QString describe() const = 0;
    virtual QStringList tables() const = 0;
    virtual QStringList columns(const QString &table) const = 0;
    virtual qint64 rowCount(const QString &table) const = 0;
    // Gives row the values of the named columns of each row in turn. Throws DatabaseError.
    virtual void read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const = 0;
};
