#pragma once

#include <QList>
#include <QStringList>

#include <utility>
#include <stdexcept>

// A failed write of a settings file; the caller decides whether it matters.
class IniWriteError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A profile (INI) file with the rules users of such files expect: sections and keys
// without regard to case, the first of duplicate keys wins, a missing file, section or
// key reads as empty, and a write keeps every other line, comment and the order.
// Every call reads the file afresh, because other workstations may change it.
// Writes replace the file atomically while holding a lock file beside it.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    // The value, trimmed and without one pair of enclosing quotes.
    QString readString(const QString &section, const QString &key) const;
    // The value trimmed, quotes kept: for stores that do their own quoting.
    QString readRaw(const QString &section, const QString &key) const;
    // The section's key=value lines in file order (the first of duplicates only);
    // false, with the list untouched, when there is no such section.
    bool readSectionValues(const QString &section, QStringList *lines) const;
    // Every key line of the section in file order, repeated keys too, for sections whose
    // lines are entries of their own rather than settings.
    QList<std::pair<QString, QString>> readEveryKey(const QString &section) const;
    // Every section once, in file order.
    QStringList sectionNames() const;

    // Throw IniWriteError when the file cannot be written, or when its text cannot be
    // read faithfully here (TextCodec::Encoding::Undecodable): a rewrite would lose it.
    void writeString(const QString &section, const QString &key, const QString &value);
    void deleteKey(const QString &section, const QString &key);

private:
    struct Content;
    Content load() const;
    void save(const Content &content) const;
    template<typename Change> void modify(Change change);

    QString m_path;
};
