#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// The files of a kill run, in a folder of their own: an installation as the program
// has it (program INI, data folder with the database and LastVer.ini, the user's
// settings store), each INI file first seeded with known sections, comments and keys,
// and the journal in which the worker notes what it was told succeeded.
class CrashWorld
{
public:
    // One INI file the worker writes: where, with what it was seeded, and how the keys
    // the worker and its start-up write begin, so that every other line can be checked.
    struct IniFileSeed
    {
        QString name; // the journal's name for the file's writes
        QString path;
        QStringList lines;
        QStringList workerKeys;
        QStringList workerSections; // sections only the worker makes
    };

    // A server database (postgresql://...) is named in the program INI instead of the data folder's file.
    explicit CrashWorld(QString folder, QString server = QString());

    // Lays out a new world, the database a copy of the template.
    void create() const;

    QString folder() const { return m_folder; }
    QString programFile() const { return m_folder + QStringLiteral("program/veldra"); }
    QString iniFile() const { return m_folder + QStringLiteral("program/veldra.ini"); }
    QString dataFolder() const { return m_folder + QStringLiteral("data/"); }
    QString databaseFile() const { return dataFolder() + QStringLiteral("Veldra_be.mdb"); }
    QString lastVerFile() const { return dataFolder() + QStringLiteral("LastVer.ini"); }
    QString backupFolder() const { return dataFolder() + QStringLiteral("Backup/"); }
    QString configFolder() const { return m_folder + QStringLiteral("config/"); }
    QString runtimeFolder() const { return m_folder + QStringLiteral("runtime/"); }
    QString settingsStoreFile() const { return configFolder() + QStringLiteral("Veldra/registry.ini"); }
    QString journalFile() const { return m_folder + QStringLiteral("journal.txt"); }

    const QString &server() const { return m_server; }
    std::vector<IniFileSeed> iniFiles() const;

private:
    QString m_folder;
    QString m_server;
};
