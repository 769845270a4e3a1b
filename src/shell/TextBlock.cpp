#include "TextBlock.h"

#include "TextCodec.h"

#include <QFile>
#include <QRegularExpression>

QString ReadTextBlock(const QString &fileName, const QString &blockName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression lineBreak(QStringLiteral("\r?\n"));
    const QStringList lines = TextCodec::decode(file.readAll()).split(lineBreak);
    const QString start = QLatin1Char('[') + blockName + QLatin1Char(']');
    const QString end = QStringLiteral("[END]");

    QString block;
    bool inside = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.contains(start, Qt::CaseInsensitive)) {
            inside = true;
            block.clear();
        } else if (inside && line.contains(end, Qt::CaseInsensitive)) {
            break;
        } else if (inside && !(i == lines.size() - 1 && line.isEmpty())) {
            block += line + QStringLiteral("\r\n");
        }
    }
    return block;
}
