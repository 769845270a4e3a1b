// The settings store and the program INI's folder rules on any files: every reading the
// program makes gives a value or a default, and a value written to the store reads back
// exactly, whatever it holds.

#include "FuzzSupport.h"
#include "Settings.h"
#include "TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fuzz::startApplication();
    const QList<QByteArray> input = Fuzz::parts(data, size, 3);
    ClearSettingsCache();
    Fuzz::writeFile(QStringLiteral("config/Veldra/registry.ini"), input[0]);
    Fuzz::writeFile(QStringLiteral("veldra.ini"), input[1]);

    const QString nastavitve = QString::fromLatin1(KeyNastavitve);
    ReadRegBool(nastavitve, QStringLiteral("AutoShift"), true);
    ReadRegInt(nastavitve, QStringLiteral("LangID"), 36);
    ReadRegDouble(QString::fromLatin1(KeyGlavnoOkno), QStringLiteral("PixelsPerInch"), 96);
    ReadRegString(QString::fromLatin1(KeyBarve), QStringLiteral("CT_WBack"));
    ReadAutoShift();
    GetAutoHideSeconds();
    GetDataFolder();
    GetImageFolder();
    GetDatabaseServer();
    const BackupTemplate backup = GetBackupTemplate();
    Fuzz::check(backup.folder.isEmpty() || backup.folder.endsWith(QLatin1Char('/')), "a folder ends with /", backup.folder);
    try {
        GetCompanyId();
    } catch (const ConversionError &) {
    }

    const QString value = QString::fromUtf8(input[2]);
    WriteRegString(nastavitve, QStringLiteral("Design"), value);
    // A store whose text cannot be rewritten faithfully is left as it is.
    TextCodec::Encoding encoding;
    TextCodec::decode(input[0], &encoding);
    if (encoding != TextCodec::Encoding::Undecodable)
        Fuzz::check(ReadRegString(nastavitve, QStringLiteral("Design")) == value, "a stored value reads back exactly",
                    value);
    return 0;
}
