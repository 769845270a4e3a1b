#include "ExchangeFiles.h"

#include "CsvFormat.h"
#include "VCardFormat.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ExchangeFiles", text);
}

bool isCsv(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
}

}

ReadCards ReadExchangeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, {{0, tr("Datoteke ni mogoče odpreti: %1").arg(file.errorString())}}};
    const QByteArray bytes = file.readAll();
    return isCsv(path) ? ReadCsv(bytes) : ReadVCards(bytes);
}

ExchangeFormat FormatOfFileName(const QString &path)
{
    return isCsv(path) ? ExchangeFormat::Csv : ExchangeFormat::VCard3;
}

bool WriteExchangeFile(const QString &path, const QList<ContactCard> &cards, ExchangeFormat format, QString *reason)
{
    const QByteArray bytes = format == ExchangeFormat::Csv      ? WriteCsv(cards)
                             : format == ExchangeFormat::VCard4 ? WriteVCards(cards, VCardVersion::V40)
                                                                : WriteVCards(cards, VCardVersion::V30);
    // Written beside and renamed: a failed export leaves the file that was there.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (reason)
        *reason = file.errorString();
    return false;
}
