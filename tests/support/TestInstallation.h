#pragma once

#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A world of its own for one test: an installation folder with the program INI, a data
// folder with the database file, and the user's settings store, all in a temporary
// folder. The program's paths and the settings caches point at it while it lives.
class TestInstallation
{
public:
    enum Setup { Complete, WithoutIni, WithoutDatabase };

    explicit TestInstallation(Setup setup = Complete);
    ~TestInstallation();

    QString root() const { return m_dir.path() + QLatin1Char('/'); }
    QString programFolder() const { return root() + QStringLiteral("program/"); }
    QString programFile() const { return programFolder() + QStringLiteral("veldra"); }
    QString iniFile() const { return programFolder() + QStringLiteral("veldra.ini"); }
    QString dataFolder() const { return root() + QStringLiteral("data/"); }
    QString databaseFile() const { return dataFolder() + QStringLiteral("Veldra_be.mdb"); }
    QString configFolder() const { return root() + QStringLiteral("config/"); }
    QString dataHome() const { return root() + QStringLiteral("share/"); }

    // Writes the program INI's "Glavno" section: the defaults, changed and added to by values.
    void writeIni(const QMap<QString, QString> &values = {});
    void createDatabase(const QByteArray &content = QByteArray());
    // Copies a built program into the installation, for tests that start it.
    void installProgram(const QString &builtProgram);
    // The data folder's LastVer.ini naming the latest version, as an installation has it.
    void writeLatestVersion(const QString &version = QStringLiteral("2.310"));
    // Forgets cached settings, as a new start of the program would.
    void restart();

private:
    QTemporaryDir m_dir;
};
