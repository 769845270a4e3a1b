#include "JetFile.h"

#include "Database.h"
#include "DatabaseError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTimeZone>
#include <QUuid>
#include <QtEndian>

// mdbtools.h opens its C block before it includes glib, whose C++ parts must come first.
#include <glib.h>
#include <mdbtools.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("JetFile", text);
}

constexpr int OffsetMask = 0x1fff;
constexpr size_t MemoHeaderSize = 12;
constexpr quint32 MemoInline = 0x80000000;
constexpr quint32 MemoOnePage = 0x40000000;
constexpr quint32 MemoLengthMask = 0x3fffffff;
constexpr double MillisecondsPerDay = 86400000.0;

template <typename T>
T little(const unsigned char *bytes)
{
    T value;
    std::memcpy(&value, bytes, sizeof value);
    return qFromLittleEndian(value);
}

// Days since 30 December 1899, the fraction the time of day.
QVariant jetMoment(double value)
{
    if (!std::isfinite(value) || value <= 1.0)
        return {};
    double days = std::trunc(value);
    qint64 milliseconds = std::llround((value - days) * MillisecondsPerDay);
    if (milliseconds >= qint64(MillisecondsPerDay)) {
        days += 1;
        milliseconds -= qint64(MillisecondsPerDay);
    }
    if (days > 3e6)
        return {};
    const QDate date = QDate(1899, 12, 30).addDays(qint64(days));
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(milliseconds)), QTimeZone::utc());
}

// Jet 4 text is UTF-16; "compressed" text starts with FF FE and holds runs of one byte a
// character (the first 256 code points) and runs of two, each switched by a zero byte.
QString jet4Text(const unsigned char *bytes, size_t size)
{
    if (size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe) {
        QString text;
        text.reserve(qsizetype(size));
        bool compressed = true;
        for (size_t i = 2; i < size;) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                text += QChar(char16_t(bytes[i++]));
            } else if (i + 1 < size) {
                text += QChar(char16_t(bytes[i] | bytes[i + 1] << 8));
                i += 2;
            } else {
                break;
            }
        }
        return text;
    }
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i + 1 < size; i += 2)
        text[qsizetype(i / 2)] = QChar(char16_t(bytes[i] | bytes[i + 1] << 8));
    return text;
}

QString guidText(const unsigned char *bytes)
{
    const QUuid id(little<quint32>(bytes), little<quint16>(bytes + 4), little<quint16>(bytes + 6), bytes[8], bytes[9], bytes[10],
                   bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return id.toString(QUuid::WithBraces).toUpper();
}

}

struct JetFile::Handle
{
    QString path;
    MdbHandle *mdb = nullptr;
    std::unique_ptr<QStringDecoder> jet3Text;

    ~Handle()
    {
        if (mdb)
            mdb_close(mdb);
    }

    bool isJet3() const { return mdb->f->jet_version == MDB_VER_JET3; }

    [[noreturn]] void unreadable(const QString &table) const
    {
        throw DatabaseError(tr("Tabele %1 v datoteki %2 ni mogoče prebrati.").arg(table, path));
    }

    // The file's own tables, not the engine's.
    std::vector<MdbCatalogEntry *> userTables() const
    {
        std::vector<MdbCatalogEntry *> entries;
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto *entry = static_cast<MdbCatalogEntry *>(g_ptr_array_index(mdb->catalog, i));
            if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
                entries.push_back(entry);
        }
        return entries;
    }

    MdbCatalogEntry *entry(const QString &table) const
    {
        for (MdbCatalogEntry *entry : userTables())
            if (QString::fromUtf8(entry->object_name).compare(table, Qt::CaseInsensitive) == 0)
                return entry;
        throw DatabaseError(tr("Datoteka %1 nima tabele %2.").arg(path, table));
    }

    // A table's definition with its columns; freed when the returned value goes.
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> definition(const QString &table) const
    {
        std::unique_ptr<MdbTableDef, void (*)(MdbTableDef *)> definition(mdb_read_table(entry(table)), mdb_free_tabledef);
        if (!definition || !mdb_read_columns(definition.get()))
            unreadable(table);
        return definition;
    }

    QString text(const unsigned char *bytes, size_t size) const
    {
        if (!isJet3())
            return jet4Text(bytes, size);
        return (*jet3Text)(QByteArrayView(reinterpret_cast<const char *>(bytes), qsizetype(size)));
    }

    // A memo or picture: kept in the row when short, else on pages of long values, one
    // or a chain of them, each piece of a chain led by the address of the next.
    QByteArray longValue(const unsigned char *field, size_t size, const QString &table) const
    {
        if (size < MemoHeaderSize)
            return {};
        const quint32 header = little<quint32>(field);
        const size_t length = header & MemoLengthMask;
        if (header & MemoInline)
            return QByteArray(reinterpret_cast<const char *>(field + MemoHeaderSize), qsizetype(std::min(length, size - MemoHeaderSize)));
        QByteArray value;
        int address = int(little<quint32>(field + 4));
        const bool chained = !(header & MemoOnePage);
        // Each piece of a chain brings something, so a damaged chain ends at the length too.
        while (address != 0 && size_t(value.size()) < length) {
            void *page = nullptr;
            int start = 0;
            size_t pieceSize = 0;
            if (mdb_find_pg_row(mdb, address, &page, &start, &pieceSize) != 0)
                unreadable(table);
            start &= OffsetMask;
            if (size_t(start) + pieceSize > size_t(mdb->fmt->pg_size) || (chained && pieceSize <= 4))
                unreadable(table);
            const auto *bytes = static_cast<const unsigned char *>(page) + start;
            if (!chained) {
                value.append(reinterpret_cast<const char *>(bytes), qsizetype(std::min(pieceSize, length)));
                break;
            }
            address = int(little<quint32>(bytes));
            value.append(reinterpret_cast<const char *>(bytes + 4), qsizetype(pieceSize - 4));
        }
        value.truncate(qsizetype(std::min(size_t(value.size()), length)));
        return value;
    }

    QVariant value(const MdbColumn &column, const MdbField &field, const QString &table) const
    {
        if (column.col_type == MDB_BOOL)
            return QVariant(!field.is_null);
        if (field.is_null)
            return {};
        const auto *bytes = static_cast<const unsigned char *>(field.value);
        const size_t size = size_t(std::max(field.siz, 0));
        const auto fits = [&](size_t needed) {
            if (size < needed)
                unreadable(table);
        };
        switch (column.col_type) {
        case MDB_BYTE:
            fits(1);
            return QVariant(qint64(bytes[0]));
        case MDB_INT:
            fits(2);
            return QVariant(qint64(little<qint16>(bytes)));
        case MDB_LONGINT:
            fits(4);
            return QVariant(qint64(little<qint32>(bytes)));
        case MDB_MONEY:
            fits(8);
            return QVariant(double(little<qint64>(bytes)) / 10000.0);
        case MDB_FLOAT:
            fits(4);
            return QVariant(double(little<float>(bytes)));
        case MDB_DOUBLE:
            fits(8);
            return QVariant(little<double>(bytes));
        case MDB_DATETIME:
            fits(8);
            return jetMoment(little<double>(bytes));
        case MDB_TEXT:
            return text(bytes, size);
        case MDB_MEMO: {
            const QByteArray memo = longValue(bytes, size, table);
            return text(reinterpret_cast<const unsigned char *>(memo.constData()), size_t(memo.size()));
        }
        case MDB_OLE:
            return longValue(bytes, size, table);
        case MDB_REPID:
            fits(16);
            return guidText(bytes);
        case MDB_NUMERIC: {
            char *number = mdb_numeric_to_string(mdb, field.start, column.col_scale, column.col_prec);
            const QVariant value(QString::fromLatin1(number).toDouble());
            g_free(number);
            return value;
        }
        default:
            return QByteArray(reinterpret_cast<const char *>(bytes), qsizetype(size));
        }
    }
};

JetFile::JetFile(const QString &path)
    : m_handle(std::make_unique<Handle>())
{
    m_handle->path = path;
    if (!QFileInfo(path).isFile() || !QFileInfo(path).isReadable())
        throw DatabaseError(tr("Datoteke %1 ni mogoče brati.").arg(path));
    if (!Database::isAccessFile(path))
        throw DatabaseError(tr("Datoteka %1 ni baza programa Microsoft Access.").arg(path));
    // Without MDB_WRITABLE the file is opened for reading only.
    m_handle->mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!m_handle->mdb || !mdb_read_catalog(m_handle->mdb, MDB_TABLE))
        throw DatabaseError(tr("Datoteke %1 ni mogoče prebrati kot baze programa Microsoft Access.").arg(path));
    if (m_handle->mdb->f->jet_version != MDB_VER_JET3 && m_handle->mdb->f->jet_version != MDB_VER_JET4)
        throw DatabaseError(tr("Datoteka %1 je v obliki novejšega programa Microsoft Access; shranite jo v obliki Access 2000–2003.").arg(path));
    if (m_handle->isJet3()) {
        const int codePage = m_handle->mdb->f->code_page;
        for (const QString &name : {QStringLiteral("windows-%1").arg(codePage), QStringLiteral("cp%1").arg(codePage), QStringLiteral("windows-1250")}) {
            m_handle->jet3Text = std::make_unique<QStringDecoder>(name.toLatin1().constData());
            if (codePage > 0 && m_handle->jet3Text->isValid())
                break;
        }
        if (!m_handle->jet3Text->isValid())
            m_handle->jet3Text = std::make_unique<QStringDecoder>(QStringConverter::Latin1);
    }
}

JetFile::~JetFile() = default;

QString JetFile::describe() const
{
    return m_handle->path;
}

QStringList JetFile::tables() const
{
    QStringList names;
    for (const MdbCatalogEntry *entry : m_handle->userTables())
        names << QString::fromUtf8(entry->object_name);
    return names;
}

QStringList JetFile::columns(const QString &table) const
{
    const auto definition = m_handle->definition(table);
    QStringList names;
    for (unsigned i = 0; i < definition->num_cols; ++i)
        names << QString::fromUtf8(static_cast<MdbColumn *>(g_ptr_array_index(definition->columns, i))->name);
    return names;
}

qint64 JetFile::rowCount(const QString &table) const
{
    return m_handle->definition(table)->num_rows;
}

void JetFile::read(const QString &table, const QStringList &columns, const std::function<void(const QVariant *)> &row) const
{
    const auto definition = m_handle->definition(table);
    MdbTableDef *tableDef = definition.get();
    // The place of each asked column among the table's.
    std::vector<unsigned> wanted;
    for (const QString &name : columns) {
        unsigned found = tableDef->num_cols;
        for (unsigned i = 0; i < tableDef->num_cols; ++i)
            if (QString::fromUtf8(static_cast<MdbColumn *>(g_ptr_array_index(tableDef->columns, i))->name).compare(name, Qt::CaseInsensitive) == 0)
                found = i;
        if (found == tableDef->num_cols)
            throw DatabaseError(tr("Tabela %1 v datoteki %2 nima stolpca %3.").arg(table, m_handle->path, name));
        wanted.push_back(found);
    }
    MdbHandle *mdb = m_handle->mdb;
    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<int> fieldOfColumn(tableDef->num_cols);
    std::vector<QVariant> values(wanted.size());
    mdb_rewind_table(tableDef);
    while (mdb_fetch_row(tableDef)) {
        // The row just fetched is taken apart again here: mdbtools gives values only as
        // text, and a null only as an empty one.
        int start = 0;
        size_t size = 0;
        if (tableDef->cur_row == 0 || mdb_find_row(mdb, int(tableDef->cur_row - 1), &start, &size) != 0)
            m_handle->unreadable(table);
        const int count = mdb_crack_row(tableDef, start & OffsetMask, size, fields.data());
        if (count < int(tableDef->num_cols))
            m_handle->unreadable(table);
        std::fill(fieldOfColumn.begin(), fieldOfColumn.end(), -1);
        for (int i = 0; i < count; ++i)
            if (fields[size_t(i)].colnum >= 0 && unsigned(fields[size_t(i)].colnum) < tableDef->num_cols)
                fieldOfColumn[size_t(fields[size_t(i)].colnum)] = i;
        for (size_t i = 0; i < wanted.size(); ++i) {
            const int field = fieldOfColumn[wanted[i]];
            if (field < 0)
                m_handle->unreadable(table);
            const auto *column = static_cast<MdbColumn *>(g_ptr_array_index(tableDef->columns, wanted[i]));
            values[i] = m_handle->value(*column, fields[size_t(field)], table);
        }
        row(values.data());
    }
}
