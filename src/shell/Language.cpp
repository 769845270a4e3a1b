#include "Language.h"

#include "ProgramPaths.h"

#include <QCoreApplication>
#include <QFile>
#include <QTranslator>

#include <memory>
#include <utility>

namespace {

// Primary language identifiers stand for the language's main country, as on the original platform.
constexpr std::pair<int, const char *> abbreviations[] = {
    {36, "SLV"},   {1060, "SLV"}, {9, "ENU"},    {1033, "ENU"}, {2057, "ENG"}, {7, "DEU"},    {1031, "DEU"},
    {3079, "DEA"}, {2055, "DES"}, {12, "FRA"},   {1036, "FRA"}, {16, "ITA"},   {1040, "ITA"}, {26, "HRV"},
    {1050, "HRV"}, {2074, "SRL"}, {3098, "SRB"}, {5146, "BSB"}, {1071, "MKI"}, {14, "HUN"},   {1038, "HUN"},
    {5, "CSY"},    {1029, "CSY"}, {27, "SKY"},   {1051, "SKY"}, {21, "PLK"},   {1045, "PLK"}, {25, "RUS"},
    {1049, "RUS"}, {10, "ESN"},   {3082, "ESN"}, {1034, "ESP"}, {19, "NLD"},   {1043, "NLD"}, {22, "PTG"},
    {2070, "PTG"}, {1046, "PTB"}, {34, "UKR"},   {1058, "UKR"},
};

struct LoadedModule
{
    std::unique_ptr<QTranslator> translator;
    QByteArray data; // the translator reads from it for as long as it is installed
};

LoadedModule &loaded()
{
    static LoadedModule module;
    return module;
}

void unload()
{
    LoadedModule &current = loaded();
    if (current.translator)
        QCoreApplication::removeTranslator(current.translator.get());
    current = LoadedModule();
}

bool load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    LoadedModule next{std::make_unique<QTranslator>(), file.readAll()};
    if (!next.translator->load(reinterpret_cast<const uchar *>(next.data.constData()), int(next.data.size())))
        return false;
    unload();
    LoadedModule &current = loaded();
    current = std::move(next);
    QCoreApplication::installTranslator(current.translator.get());
    return true;
}

}

QString LanguageAbbreviation(int languageId)
{
    for (const auto &[id, abbreviation] : abbreviations)
        if (id == languageId)
            return QString::fromLatin1(abbreviation);
    return {};
}

QString SetLanguage(int languageId)
{
    const QString abbreviation = LanguageAbbreviation(languageId);
    if (!abbreviation.isEmpty()) {
        for (const QString &extension : {abbreviation, abbreviation.left(2)}) {
            const QString module = ProgramPaths::withExtension(extension);
            if (load(module))
                return module;
        }
    }
    // The program's own texts.
    unload();
    return {};
}
