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

CardFile::CardFile(const QString &path)
    : m_csv(isCsv(path))
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_problems = {{0, tr("Datoteke ni mogoče odpreti: %1").arg(file.errorString())}};
        return;
    }
    m_bytes = file.readAll();
    if (m_csv) {
        ReadCards read = ReadCsv(m_bytes);
        m_csvCards = std::move(read.Cards);
        m_problems = std::move(read.Problems);
        m_bytes.clear();
    }
}

CardImport::CardFeed CardFile::feed()
{
    if (m_csv)
        return CardImport::feedOf(m_csvCards);
    return [this](const std::function<void(const ContactCard &)> &take) {
        if (!m_bytes.isEmpty())
            m_problems = ReadVCards(m_bytes, [&take](ContactCard &&card) { take(card); });
    };
}

qsizetype CardFile::count() const
{
    return m_csv ? m_csvCards.size() : CountVCards(m_bytes);
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
