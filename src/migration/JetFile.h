#pragma once

#include "TableSource.h"

#include <memory>

// A database file of the Windows program: Jet 3 or Jet 4, as Access 97 to 2003 wrote
// them, read through mdbtools and never written. Its tables are the file's own (not the
// engine's system tables). Values come as the original engine meant them: Yes/No as
// bool; Byte, Integer and Long as whole numbers; Currency, Single and Double as numbers;
// Date/Time as the wall-clock moment, and a date of 1.0 or less as none; Text and Memo as
// text (Jet 4 keeps Unicode, compressed or not; Jet 3 the file's code page, Windows-1250
// when it names none); a replication id as its text; binary data and pictures as bytes.
class JetFile : public TableSource
{
public:
    // Throws DatabaseError when the file cannot be read as such a database.
    explicit JetFile(const QString &path);
    ~JetFile() override;
    JetFile(const JetFile &) = delete;
    JetFile &operator=(const JetFile &) = delete;

    QString describe() const override;
    QStringList tables() const override;
    QStringList columns(const QString &table) const override;
    qint64 rowCount(const QString &table) const override;
    void read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const override;

private:
    struct Handle;
    std::unique_ptr<Handle> m_handle;
};
