#include "TestInstallation.h"

#include "ProgramPaths.h"
#include "Settings.h"

#include <QDir>
#include <QFile>
#include <QTest>

TestInstallation::TestInstallation(Setup setup)
{
    QDir().mkpath(programFolder());
    QDir().mkpath(dataFolder());
    QDir().mkpath(configFolder());
    qputenv("XDG_CONFIG_HOME", configFolder().toUtf8());
    qputenv("XDG_STATE_HOME", (root() + QStringLiteral("state")).toUtf8());
    // Where a started program registers its automation service.
    qputenv("XDG_DATA_HOME", dataHome().toUtf8());
    ProgramPaths::setProgramFile(programFile());
    if (setup != WithoutIni)
        writeIni();
    if (setup != WithoutDatabase)
        createDatabase();
    restart();
}

TestInstallation::~TestInstallation()
{
    ProgramPaths::setProgramFile(QString());
    ClearSettingsCache();
}

void TestInstallation::writeIni(const QMap<QString, QString> &values)
{
    QMap<QString, QString> glavno{
        {QStringLiteral("PathPodatki"), dataFolder()},
        {QStringLiteral("ImagePath"), QStringLiteral("\\Slike")},
        {QStringLiteral("MaticniPodatki"), QStringLiteral("1")},
        {QStringLiteral("BackUpFolder"), QStringLiteral("\\Backup\\Podatki /DATE/.mdb")},
    };
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        glavno[it.key()] = it.value();
    QFile file(iniFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QByteArray text = "[Glavno]\n";
    for (auto it = glavno.cbegin(); it != glavno.cend(); ++it)
        text += it.key().toUtf8() + '=' + it.value().toUtf8() + '\n';
    file.write(text);
}

void TestInstallation::createDatabase(const QByteArray &content)
{
    QFile file(databaseFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void TestInstallation::installProgram(const QString &builtProgram)
{
    QFile::remove(programFile());
    QVERIFY(QFile::copy(builtProgram, programFile()));
    QVERIFY(QFile::setPermissions(programFile(), QFile::permissions(builtProgram)));
}

void TestInstallation::writeLatestVersion(const QString &version)
{
    QFile file(dataFolder() + QStringLiteral("LastVer.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Program]\nZadnjaVerzija=" + version.toUtf8() + "\n");
}

void TestInstallation::restart()
{
    ClearSettingsCache();
}
