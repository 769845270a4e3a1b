#include "CrashWorld.h"

#include "BenchSupport.h"
#include "CrashJournal.h"

#include "PublicFunctions.h"

#include <QDir>
#include <QFile>

#include <utility>

CrashWorld::CrashWorld(QString folder, QString server)
    : m_folder(QDir(folder).absolutePath() + QLatin1Char('/'))
    , m_server(std::move(server))
{
}

std::vector<CrashWorld::IniFileSeed> CrashWorld::iniFiles() const
{
    QStringList glavno{QStringLiteral("; Namestitev na tem računalniku"), QStringLiteral("[Glavno]"),
                       QStringLiteral("PathPodatki=") + dataFolder(), QStringLiteral("ImagePath=\\Slike"),
                       QStringLiteral("MaticniPodatki=1"), QStringLiteral("; kopija baze vsak dan"),
                       QStringLiteral("BackUpFolder=\\Backup\\Podatki /DATE/.mdb")};
    if (!m_server.isEmpty())
        glavno << QStringLiteral("Baza=") + m_server;
    glavno << QString() << QStringLiteral("[Moduli]") << QStringLiteral("Mapa=Moduli") << QStringLiteral("Zadnji=povezave.so");
    return {
        {QString::fromLatin1(CrashJournal::ProgramIni), iniFile(), glavno, {QStringLiteral("Stevec")}, {QStringLiteral("Zadnje")}},
        {QString::fromLatin1(CrashJournal::LastVer), lastVerFile(),
         {QStringLiteral("[Program]"), QStringLiteral("ZadnjaVerzija=2.310"), QStringLiteral("[Novosti]"),
          QStringLiteral("Nova različica uvaža vizitke."), QStringLiteral("Druga vrstica novic."), QStringLiteral("[END]"),
          QStringLiteral("; postaje, ki uporabljajo te podatke"), QStringLiteral("[Uporabniki]"),
          QStringLiteral("PISARNA=2.300 LastAccessed=01.12.2026 (08:15)"), QStringLiteral("SKLADISCE=2.310 LastAccessed=03.12.2026 (14:40)")},
         {QStringLiteral("POSTAJA-"), GetComputerNameText()}, {}},
        {QString::fromLatin1(CrashJournal::SettingsStore), settingsStoreFile(),
         {QStringLiteral("[Software\\Veldra\\Nastavitve]"), QStringLiteral("LangID=36"), QStringLiteral("AutoShift=-1"),
          QStringLiteral("; barve uporabnika"), QStringLiteral("[Software\\Veldra\\Barve]"), QStringLiteral("CT_WBack=12632256")},
         {QStringLiteral("Stevec"), QStringLiteral("Location")}, {QStringLiteral("Software\\Veldra\\Stevci")}},
    };
}

void CrashWorld::create() const
{
    QDir(m_folder).removeRecursively();
    for (const QString &folder : {QStringLiteral("program"), QStringLiteral("data/Backup"), QStringLiteral("config/Veldra")})
        QDir().mkpath(m_folder + folder);
    QDir().mkpath(runtimeFolder());
    QFile::setPermissions(runtimeFolder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (m_server.isEmpty())
        Bench::copyTemplateDatabase(databaseFile());
    for (const IniFileSeed &seed : iniFiles()) {
        QFile file(seed.path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write((seed.lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
}
