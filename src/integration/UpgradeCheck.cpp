#include "UpgradeCheck.h"

#include "LibraryCalls.h"
#include "ProgramPaths.h"
#include "PublicFunctions.h"
#include "Settings.h"

#include <veldra/upgrade.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>


namespace {

// A reply longer than this is no version a library means to give.
constexpr std::size_t LongestReply = 1 << 16;

QString tr(const char *text)
{
    return QCoreApplication::translate("UpgradeCheck", text);
}

// The library loaded for one check, Init called; unloaded when it goes.
class UpgradeLibrary
{
public:
    explicit UpgradeLibrary(const QString &path)
        : m_library(path)
    {
        if (!m_library.load())
            return;
        if (const auto init = resolve<VeldraUpgradeInitFunction>("Init")) {
            const QByteArray own = QFileInfo(path).absoluteFilePath().toUtf8();
            CallGuarded([&] { init(own.constData()); });
        }
    }
    ~UpgradeLibrary() { unload(); }
    UpgradeLibrary(const UpgradeLibrary &) = delete;
    UpgradeLibrary &operator=(const UpgradeLibrary &) = delete;

    template<typename Function>
    Function resolve(const char *name)
    {
        return m_library.isLoaded() ? reinterpret_cast<Function>(m_library.resolve(name)) : nullptr;
    }

    bool internetUpgrade()
    {
        const auto internet = resolve<VeldraUpgradeInternetFunction>("InternetUpgrade");
        int answer = 0;
        if (internet)
            CallGuarded([&] { answer = internet(); });
        return answer != 0;
    }

    void unload()
    {
        if (m_library.isLoaded())
            m_library.unload();
    }

private:
    QLibrary m_library;
};

// A reply that names no version to upgrade to.
bool isNoUpgrade(const QString &reply)
{
    return reply.isEmpty() || reply == QLatin1String(VELDRA_UPGRADE_REPLY_ERROR)
        || reply == QLatin1String(VELDRA_UPGRADE_REPLY_CHECKDAY) || reply == GetProgramVersion();
}

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

}

QString FindUpgradeLibrary()
{
    const QString value = ReadIniString(ProgramPaths::iniFile(), QStringLiteral("SETTINGS"), QStringLiteral("UpgradeProg"));
    // Without a setting there is no check: the folder of an empty path would be wherever
    // the program happened to be started.
    if (value.trimmed().isEmpty())
        return {};
    QString path = value;
    if (path.startsWith(QLatin1Char('\\')))
        path.remove(0, 1);
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A relative path lies below the program folder too, never below the working folder.
    if (QDir::isRelativePath(path))
        path = ProgramPaths::programFolder() + path;
    if (QFileInfo(path).isFile())
        return path;
    const QDir folder = QFileInfo(path).absoluteDir();
    const QStringList libraries = LibraryFiles(folder);
    return libraries.isEmpty() ? QString() : folder.filePath(libraries.first());
}

bool UpgradeOffersInternetCheck()
{
    const QString path = FindUpgradeLibrary();
    if (path.isEmpty())
        return false;
    UpgradeLibrary library(path);
    return library.internetUpgrade();
}

UpgradeCheckResult CheckForUpgrade(bool forced)
{
    UpgradeCheckResult result;
    const QString path = FindUpgradeLibrary();
    if (path.isEmpty())
        return result;
    UpgradeLibrary library(path);
    const bool internet = library.internetUpgrade();
    const QByteArray program = ProgramPaths::programFile().toUtf8();
    if (const auto lastVersion = library.resolve<VeldraUpgradeLastVersionFunction>("GetLastVersion")) {
        if (forced || !internet) {
            CallGuarded([&] { result.Reply = CopyLibraryText(lastVersion(program.constData(), 1, 1), LongestReply); });
        } else {
            const int days = ReadRegInt(QString::fromLatin1(KeyNastavitve), QStringLiteral("CheckNewVer"), 14);
            if (days > 0)
                CallGuarded([&] { result.Reply = CopyLibraryText(lastVersion(program.constData(), days, 0), LongestReply); });
        }
    }
    if (isNoUpgrade(result.Reply))
        return result;
    if (const auto execute = library.resolve<VeldraUpgradeExecuteFunction>("ExecuteUpgrade")) {
        const QByteArray parameters = (quoted(QString::fromLatin1(ApplicationTitle)) + QLatin1Char(' ')
                                       + quoted(GetProgramVersion()) + QLatin1Char(' ')
                                       + quoted(ProgramPaths::programFile()))
                                          .toUtf8();
        CallGuarded([&] { execute(0, parameters.constData()); });
        library.unload();
        result.HandedOver = true;
    }
    return result;
}

StepResult CheckForUpgradeAtStart()
{
    return CheckForUpgrade(false).HandedOver ? StepResult::EndNow : StepResult::GoOn;
}

void CheckForUpgradeNow()
{
    const UpgradeCheckResult result = CheckForUpgrade(true);
    if (result.HandedOver) {
        QCoreApplication::exit(0);
        return;
    }
    QString message;
    if (result.Reply == QLatin1String(VELDRA_UPGRADE_REPLY_ERROR))
        message = tr("Napaka! Nastavitev nadgradnje ni mogoce najti!");
    else if (result.Reply == QLatin1String(VELDRA_UPGRADE_REPLY_CHECKDAY))
        message = tr("Napaka! Preverjanje verzije je poteklo!");
    else if (result.Reply == GetProgramVersion())
        message = tr("Imate zadnjo verzijo programa!<BR>Nadgradnja verzije ni potrebna!");
    else
        // No reply, or a newer version that the library cannot install (no ExecuteUpgrade).
        message = tr("Napaka! Programa za nadgradnjo<BR>ali nekaj od nastavitev ni mogoče najti!");
    ShowMessageBox(message.replace(QStringLiteral("<BR>"), QStringLiteral("\n")), 0);
}

QString GetLatestVersion()
{
    const QString version =
        ReadIniString(GetDataFolder() + QStringLiteral("LastVer.ini"), QStringLiteral("Program"), QStringLiteral("ZadnjaVerzija"))
            .trimmed();
    if (!version.isEmpty())
        return version;
    ShowMessageBox(tr("Ni mogoče najti podatkov o zadnji verziji programa!"), 0);
    return QStringLiteral("ERROR");
}
