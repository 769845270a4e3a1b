// The installer's script Setup.ini in any form: its lines, their options and targets with
// the folders it proposes.

#include "FuzzSupport.h"
#include "SetupScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    Fuzz::writeFile(QStringLiteral("Setup.ini"), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const SetupScript script = ReadSetupScript(Fuzz::folder());
    const ChosenFolders folders{FolderWithSeparator(script.ProgramFolder), FolderWithSeparator(script.MrezaFolder)};
    for (const QString &folder : {folders.Program, folders.Database})
        Fuzz::check(folder.isEmpty() || folder.endsWith(QLatin1Char('/')), "a folder ends with /", folder);
    for (const QList<ScriptLine> *lines : {&script.Dll, &script.Folders, &script.Datoteke})
        for (const ScriptLine &line : *lines) {
            OptionOf(line.Target);
            ExpandTarget(line.Target, folders);
        }
    return 0;
}
