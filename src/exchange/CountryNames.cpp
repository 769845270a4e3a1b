#include "CountryNames.h"

#include <QHash>

#include <vector>

namespace {

const std::vector<CountryNames> &countries()
{
    static const std::vector<CountryNames> all = {
        {QStringLiteral("Slovenija"), QStringLiteral("SLO"), {QStringLiteral("SI"), QStringLiteral("SVN"), QStringLiteral("Slovenia"), QStringLiteral("Republika Slovenija")}},
        {QStringLiteral("Hrvaška"), QStringLiteral("HRV"), {QStringLiteral("HR"), QStringLiteral("Croatia"), QStringLiteral("Hrvatska")}},
        {QStringLiteral("Avstrija"), QStringLiteral("AUT"), {QStringLiteral("AT"), QStringLiteral("Austria"), QStringLiteral("Österreich")}},
        {QStringLiteral("Italija"), QStringLiteral("ITA"), {QStringLiteral("IT"), QStringLiteral("Italy"), QStringLiteral("Italia")}},
        {QStringLiteral("Madžarska"), QStringLiteral("HUN"), {QStringLiteral("HU"), QStringLiteral("Hungary"), QStringLiteral("Magyarország")}},
        {QStringLiteral("Nemčija"), QStringLiteral("DEU"), {QStringLiteral("DE"), QStringLiteral("Germany"), QStringLiteral("Deutschland")}},
        {QStringLiteral("Švica"), QStringLiteral("CHE"), {QStringLiteral("CH"), QStringLiteral("Switzerland"), QStringLiteral("Schweiz")}},
        {QStringLiteral("Francija"), QStringLiteral("FRA"), {QStringLiteral("FR"), QStringLiteral("France")}},
        {QStringLiteral("Španija"), QStringLiteral("ESP"), {QStringLiteral("ES"), QStringLiteral("Spain"), QStringLiteral("España")}},
        {QStringLiteral("Portugalska"), QStringLiteral("PRT"), {QStringLiteral("PT"), QStringLiteral("Portugal")}},
        {QStringLiteral("Velika Britanija"), QStringLiteral("GBR"), {QStringLiteral("GB"), QStringLiteral("UK"), QStringLiteral("United Kingdom"), QStringLiteral("Združeno kraljestvo")}},
        {QStringLiteral("Irska"), QStringLiteral("IRL"), {QStringLiteral("IE"), QStringLiteral("Ireland")}},
        {QStringLiteral("Nizozemska"), QStringLiteral("NLD"), {QStringLiteral("NL"), QStringLiteral("Netherlands"), QStringLiteral("Nederland")}},
        {QStringLiteral("Belgija"), QStringLiteral("BEL"), {QStringLiteral("BE"), QStringLiteral("Belgium")}},
        {QStringLiteral("Luksemburg"), QStringLiteral("LUX"), {QStringLiteral("LU"), QStringLiteral("Luxembourg")}},
        {QStringLiteral("Danska"), QStringLiteral("DNK"), {QStringLiteral("DK"), QStringLiteral("Denmark")}},
        {QStringLiteral("Švedska"), QStringLiteral("SWE"), {QStringLiteral("SE"), QStringLiteral("Sweden")}},
        {QStringLiteral("Norveška"), QStringLiteral("NOR"), {QStringLiteral("NO"), QStringLiteral("Norway")}},
        {QStringLiteral("Finska"), QStringLiteral("FIN"), {QStringLiteral("FI"), QStringLiteral("Finland")}},
        {QStringLiteral("Poljska"), QStringLiteral("POL"), {QStringLiteral("PL"), QStringLiteral("Poland"), QStringLiteral("Polska")}},
        {QStringLiteral("Češka"), QStringLiteral("CZE"), {QStringLiteral("CZ"), QStringLiteral("Czechia"), QStringLiteral("Czech Republic"), QStringLiteral("Česko")}},
        {QStringLiteral("Slovaška"), QStringLiteral("SVK"), {QStringLiteral("SK"), QStringLiteral("Slovakia"), QStringLiteral("Slovensko")}},
        {QStringLiteral("Srbija"), QStringLiteral("SRB"), {QStringLiteral("RS"), QStringLiteral("Serbia")}},
        {QStringLiteral("Bosna in Hercegovina"), QStringLiteral("BIH"), {QStringLiteral("BA"), QStringLiteral("Bosnia and Herzegovina"), QStringLiteral("Bosna i Hercegovina")}},
        {QStringLiteral("Črna gora"), QStringLiteral("MNE"), {QStringLiteral("ME"), QStringLiteral("Montenegro"), QStringLiteral("Crna Gora")}},
        {QStringLiteral("Severna Makedonija"), QStringLiteral("MKD"), {QStringLiteral("MK"), QStringLiteral("North Macedonia"), QStringLiteral("Makedonija")}},
        {QStringLiteral("Kosovo"), QStringLiteral("KOS"), {QStringLiteral("XK"), QStringLiteral("XKX")}},
        {QStringLiteral("Albanija"), QStringLiteral("ALB"), {QStringLiteral("AL"), QStringLiteral("Albania")}},
        {QStringLiteral("Romunija"), QStringLiteral("ROU"), {QStringLiteral("RO"), QStringLiteral("Romania")}},
        {QStringLiteral("Bolgarija"), QStringLiteral("BGR"), {QStringLiteral("BG"), QStringLiteral("Bulgaria")}},
        {QStringLiteral("Grčija"), QStringLiteral("GRC"), {QStringLiteral("GR"), QStringLiteral("Greece")}},
        {QStringLiteral("Turčija"), QStringLiteral("TUR"), {QStringLiteral("TR"), QStringLiteral("Turkey"), QStringLiteral("Türkiye")}},
        {QStringLiteral("Rusija"), QStringLiteral("RUS"), {QStringLiteral("RU"), QStringLiteral("Russia")}},
        {QStringLiteral("Ukrajina"), QStringLiteral("UKR"), {QStringLiteral("UA"), QStringLiteral("Ukraine")}},
        {QStringLiteral("Združene države Amerike"), QStringLiteral("USA"), {QStringLiteral("US"), QStringLiteral("United States"), QStringLiteral("United States of America"), QStringLiteral("ZDA")}},
        {QStringLiteral("Kanada"), QStringLiteral("CAN"), {QStringLiteral("CA"), QStringLiteral("Canada")}},
        {QStringLiteral("Avstralija"), QStringLiteral("AUS"), {QStringLiteral("AU"), QStringLiteral("Australia")}},
        {QStringLiteral("Kitajska"), QStringLiteral("CHN"), {QStringLiteral("CN"), QStringLiteral("China")}},
        {QStringLiteral("Japonska"), QStringLiteral("JPN"), {QStringLiteral("JP"), QStringLiteral("Japan")}},
    };
    return all;
}

}

const CountryNames *FindCountryNames(const QString &text)
{
    static const QHash<QString, const CountryNames *> byName = [] {
        QHash<QString, const CountryNames *> names;
        for (const CountryNames &country : countries()) {
            names.insert(country.Slovenian.toCaseFolded(), &country);
            names.insert(country.Abbreviation.toCaseFolded(), &country);
            for (const QString &other : country.Others)
                names.insert(other.toCaseFolded(), &country);
        }
        return names;
    }();
    return byName.value(text.trimmed().toCaseFolded(), nullptr);
}
